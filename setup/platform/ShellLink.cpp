#include "setup/platform/ShellLink.h"

namespace ostrel::platform {

std::string_view ShortcutSuffix(PathStyle style) { return Resolve(style) == PathStyle::Windows ? ".lnk" : ".desktop"; }

}  // namespace ostrel::platform
