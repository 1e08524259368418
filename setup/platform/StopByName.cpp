#include "setup/platform/StopByName.h"

namespace ostrel::platform {

std::string StopByNameCommandLine(std::string_view programBase, PathStyle style) {
  if (Resolve(style) == PathStyle::Windows) return "taskkill.exe /f /im " + ExecutableName(programBase, style);
  return "pkill -KILL -x " + std::string(programBase);
}

}  // namespace ostrel::platform
