// Reads the resources of its own executable, as the setup does:
//   resource_probe NAME              writes the resource's bytes to stdout
//   resource_probe --save NAME PATH  saves it as a new runnable file
// Exit code 3 when the resource is missing or cannot be saved.

#include "setup/platform/ExecutableResources.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  const auto self = ostrel::platform::ExecutableResources::OpenSelf();
  if (argc == 2) {
    const auto bytes = self->Find(argv[1]);
    if (!bytes) return 3;
    std::fwrite(bytes->data(), 1, bytes->size(), stdout);
    return 0;
  }
  if (argc == 4 && std::strcmp(argv[1], "--save") == 0) {
    return self->SaveToFile(argv[2], argv[3], {.createNew = true, .executable = true}) ? 0 : 3;
  }
  std::fputs("usage: resource_probe NAME | --save NAME PATH\n", stderr);
  return 2;
}
