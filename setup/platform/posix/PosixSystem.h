#pragma once

#include "setup/platform/System.h"

namespace ostrel::platform::posix {

class PosixSystem final : public ISystem {
 public:
  std::string ExecutablePath() const override;                // /proc/self/exe
  GuidBytes NewGuid() override;                               // getrandom, else /dev/urandom
  [[noreturn]] void ExitProcess(unsigned exitCode) override;  // _exit
};

}  // namespace ostrel::platform::posix
