// A module with one function, for the loader's test.
#ifdef _WIN32
#define OSTREL_EXPORT __declspec(dllexport)
#else
#define OSTREL_EXPORT __attribute__((visibility("default")))
#endif

extern "C" OSTREL_EXPORT int OstrelAnswer() { return 42; }
