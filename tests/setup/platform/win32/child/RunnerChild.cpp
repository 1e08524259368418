// A child for the runner's tests: "print TEXT" writes the text, "bulk N"
// writes N bytes, "exit N" ends with code N, "sleep S" waits S seconds,
// "inherits HANDLE" ends with 1 when the handle value names an open handle.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::string what = argv[1];
  if (what == "print") {
    std::fputs(argv[2], stdout);
    std::fputs("\n", stderr);
    return 0;
  }
  if (what == "bulk") {
    const std::string line(99, 'x');
    for (long left = std::atol(argv[2]); left > 0; left -= 100) std::printf("%s\n", line.c_str());
    return 0;
  }
  if (what == "exit") return std::atoi(argv[2]);
  if (what == "sleep") {
    ::Sleep(static_cast<DWORD>(std::atoi(argv[2])) * 1000);
    return 0;
  }
  if (what == "inherits") {
    const auto value = static_cast<std::uintptr_t>(std::strtoull(argv[2], nullptr, 10));
    DWORD flags = 0;
    return ::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
  }
  return 2;
}
