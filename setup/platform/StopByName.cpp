#include "setup/platform/StopByName.h"

#include "setup/platform/System.h"

namespace ostrel::platform {

std::string StopByNameCommandLine(std::string_view programBase, PathStyle style) {
  if (Resolve(style) == PathStyle::Windows) {
    // An account name holds no double quote, so the quoted filter value
    // cannot be broken out of.
    const std::string account = CurrentUserAccount();
    const std::string filter = account.empty() ? std::string() : "/fi \"USERNAME eq " + account + "\" ";
    return "taskkill.exe /f " + filter + "/im " + ExecutableName(programBase, style);
  }
  return "pkill -KILL -x -U " + std::to_string(CurrentUserId()) + " " + std::string(programBase);
}

}  // namespace ostrel::platform
