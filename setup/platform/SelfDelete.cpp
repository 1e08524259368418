#include "setup/platform/SelfDelete.h"

namespace ostrel::platform {

std::string SelfDeleteBatchText(std::string_view uninstallerPath) {
  std::string quoted = "\"";
  for (const char c : uninstallerPath) {
    quoted += c;
    if (c == '%') quoted += '%';
  }
  quoted += '"';
  return ":try\r\ndel " + quoted + "\r\nif exist " + quoted + " goto try\r\ndel %0";
}

}  // namespace ostrel::platform
