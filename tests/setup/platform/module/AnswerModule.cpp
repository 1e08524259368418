// A module with one function, for the loader's test.
extern "C" __attribute__((visibility("default"))) int OstrelAnswer() { return 42; }
