#include "setup/platform/posix/DesktopEntry.h"
#include "setup/platform/posix/UniqueFd.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <sys/random.h>

#include "setup/platform/ShellLink.h"

namespace ostrel::platform::posix {

std::optional<std::string> EscapeDesktopString(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case ' ': out += (i == 0 || i + 1 == value.size()) ? "\\s" : " "; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return std::nullopt;
        out += c;
    }
  }
  return out;
}

std::optional<std::string> QuoteExecArgument(std::string_view argument) {
  std::string quoted = "\"";
  for (const char c : argument) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  quoted += '"';
  // A quoted argument is never blank at its ends, so only the inner escapes
  // of the string rule apply.
  return EscapeDesktopString(quoted);
}

namespace {

bool IsActionId(std::string_view id) {
  const auto allowed = [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
  };
  return !id.empty() && std::all_of(id.begin(), id.end(), allowed);
}

}  // namespace

std::optional<std::string> DesktopEntryText(std::string_view name, std::string_view program,
                                            std::string_view workingFolder, const std::vector<DesktopAction>& actions) {
  const auto escapedName = EscapeDesktopString(name);
  const auto exec = QuoteExecArgument(program);
  const auto path = EscapeDesktopString(workingFolder);
  if (!escapedName || !exec || !path || program.empty()) return std::nullopt;
  std::string text = "[Desktop Entry]\nType=Application\nName=" + *escapedName + "\nExec=" + *exec + "\n";
  if (!path->empty()) text += "Path=" + *path + "\n";
  if (actions.empty()) return text;

  std::string list;
  std::string groups;
  for (const DesktopAction& action : actions) {
    const auto actionName = EscapeDesktopString(action.name);
    const auto actionExec = QuoteExecArgument(action.program);
    if (!IsActionId(action.id) || !actionName || actionName->empty() || !actionExec || action.program.empty()) {
      return std::nullopt;
    }
    list += action.id + ";";
    groups += "\n[Desktop Action " + action.id + "]\nName=" + *actionName + "\nExec=" + *actionExec + "\n";
  }
  return text + "Actions=" + list + "\n" + groups;
}

namespace {

std::string_view BaseName(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  constexpr std::string_view kSuffix = ".desktop";
  if (name.size() > kSuffix.size() && name.ends_with(kSuffix)) name.remove_suffix(kSuffix.size());
  return name;
}

// Written beside the target and renamed over it, so a reader never sees half
// an entry and a link standing at the target is replaced, not followed.
bool WriteReplacing(const std::string& path, std::string_view text) {
  std::uint64_t random = 0;
  if (::getrandom(&random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) return false;
  const std::string temporary = path + ".new-" + std::to_string(random);
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0755);
  if (fd < 0) return false;
  // The launcher is the owner's program; fchmod keeps it so whatever the umask.
  bool ok = ::fchmod(fd, 0755) == 0 && WriteAll(fd, text);
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}

class DesktopEntryLink final : public IShellLink {
 public:
  bool SetPath(const std::string& target) override {
    target_ = target;
    return true;
  }
  bool SetWorkingDirectory(const std::string& folder) override {
    workingFolder_ = folder;
    return true;
  }
  bool AddAction(std::string_view id, std::string_view name, const std::string& program) override {
    actions_.push_back(DesktopAction{std::string(id), std::string(name), program});
    return true;
  }
  bool Save(const std::string& path) override {
    const auto text = DesktopEntryText(BaseName(path), target_, workingFolder_, actions_);
    return text && WriteReplacing(path, *text);
  }

 private:
  std::string target_;
  std::string workingFolder_;
  std::vector<DesktopAction> actions_;
};

}  // namespace
}  // namespace ostrel::platform::posix

namespace ostrel::platform {

std::unique_ptr<IShellLink> CreateShellLink() { return std::make_unique<posix::DesktopEntryLink>(); }

}  // namespace ostrel::platform
