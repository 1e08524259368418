#include "setup/platform/StopByName.h"

#include "setup/platform/System.h"

namespace ostrel::platform {

std::string StopByNameCommandLine(std::string_view programBase, PathStyle style) {
  if (Resolve(style) == PathStyle::Windows) return "taskkill.exe /f /im " + ExecutableName(programBase, style);
  return "pkill -KILL -x -U " + std::to_string(CurrentUserId()) + " " + std::string(programBase);
}

}  // namespace ostrel::platform
