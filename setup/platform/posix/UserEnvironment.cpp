#include "setup/platform/posix/UserEnvironment.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace ostrel::platform::posix {

namespace {

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::optional<std::string> AbsoluteSetting(const EnvironmentLookup& lookup, std::string_view name) {
  auto value = lookup(name);
  if (!value || value->empty() || value->front() != '/') return std::nullopt;
  return WithoutTrailingSlashes(std::move(*value));
}

std::string PasswdHome() {
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  struct passwd entry {};
  struct passwd* result = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &result) != 0 || result == nullptr ||
      result->pw_dir == nullptr) {
    return {};
  }
  return result->pw_dir;
}

}  // namespace

UserEnvironment ResolveUserEnvironment(const EnvironmentLookup& lookup, std::string_view passwdHome) {
  UserEnvironment env;
  env.home = AbsoluteSetting(lookup, "HOME").value_or(WithoutTrailingSlashes(std::string(passwdHome)));
  env.configHome = AbsoluteSetting(lookup, "XDG_CONFIG_HOME").value_or(env.home + "/.config");
  env.dataHome = AbsoluteSetting(lookup, "XDG_DATA_HOME").value_or(env.home + "/.local/share");
  env.cacheHome = AbsoluteSetting(lookup, "XDG_CACHE_HOME").value_or(env.home + "/.cache");
  return env;
}

UserEnvironment ReadUserEnvironment() {
  const EnvironmentLookup lookup = [](std::string_view name) -> std::optional<std::string> {
    const char* value = std::getenv(std::string(name).c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
  };
  const char* home = std::getenv("HOME");
  return ResolveUserEnvironment(lookup, (home != nullptr && *home == '/') ? std::string() : PasswdHome());
}

std::string DesktopFolderFromUserDirs(std::string_view text, std::string_view home) {
  const std::string fallback = std::string(home) + "/Desktop";
  std::optional<std::string> found;
  while (!text.empty()) {
    const std::size_t eol = text.find('\n');
    std::string_view line = text.substr(0, eol);
    text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);

    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    constexpr std::string_view kKey = "XDG_DESKTOP_DIR=\"";
    if (!line.starts_with(kKey)) continue;
    line.remove_prefix(kKey.size());
    std::string value;
    bool closed = false;
    for (std::size_t i = 0; i < line.size() && !closed; ++i) {
      if (line[i] == '\\' && i + 1 < line.size()) {
        value += line[++i];
      } else if (line[i] == '"') {
        closed = true;
      } else {
        value += line[i];
      }
    }
    if (!closed) continue;

    std::string path;
    if (value.starts_with("$HOME")) {
      const std::string rest = value.substr(5);
      if (!rest.empty() && rest.front() != '/') continue;
      path = std::string(home) + rest;
    } else if (value.starts_with('/')) {
      path = value;
    } else {
      continue;
    }
    found = WithoutTrailingSlashes(std::move(path));
  }
  return found.value_or(fallback);
}

}  // namespace ostrel::platform::posix
