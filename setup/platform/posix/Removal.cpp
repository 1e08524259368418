#include "setup/platform/Removal.h"
#include "setup/platform/posix/UniqueFd.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <string_view>
#include <vector>

namespace ostrel::platform {
namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// The folder holding the item, opened without following a link in any part
// below base, and the item's own name.
struct Parent {
  UniqueFd folder;
  std::string name;
};

std::optional<Parent> OpenParent(const std::string& base, const std::string& relative) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= relative.size()) {
    const std::size_t end = relative.find('/', start);
    const std::size_t stop = end == std::string::npos ? relative.size() : end;
    std::string part = relative.substr(start, stop - start);
    if (part.empty() || part == "." || part == "..") return std::nullopt;
    parts.push_back(std::move(part));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  if (base.empty() || parts.empty()) return std::nullopt;

  UniqueFd folder(::open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  for (std::size_t i = 0; folder.Valid() && i + 1 < parts.size(); ++i) {
    folder = UniqueFd(::openat(folder.Get(), parts[i].c_str(), kFolderFlags));
  }
  if (!folder.Valid()) return std::nullopt;
  return Parent{std::move(folder), std::move(parts.back())};
}

std::optional<struct stat> StatNoFollow(int folder, const std::string& name) {
  struct stat st {};
  if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
  return st;
}

std::vector<std::string> EntryNames(int folder) {
  std::vector<std::string> names;
  const int listing = ::dup(folder);
  if (listing < 0) return names;
  DIR* dir = ::fdopendir(listing);
  if (dir == nullptr) {
    ::close(listing);
    return names;
  }
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  ::closedir(dir);
  return names;
}

// Empties the folder, then removes it. Every entry is tried even after a
// failure; sub-folders are entered without following links.
bool RemoveTree(int parent, const std::string& name) {
  bool ok = true;
  {
    const UniqueFd folder(::openat(parent, name.c_str(), kFolderFlags));
    if (!folder.Valid()) return false;
    for (const std::string& entry : EntryNames(folder.Get())) {
      const auto st = StatNoFollow(folder.Get(), entry);
      if (!st) continue;
      if (S_ISDIR(st->st_mode)) {
        ok = RemoveTree(folder.Get(), entry) && ok;
      } else {
        ok = ::unlinkat(folder.Get(), entry.c_str(), 0) == 0 && ok;
      }
    }
  }
  return ::unlinkat(parent, name.c_str(), AT_REMOVEDIR) == 0 && ok;
}

// Whether the link `name` in `folder` leads to a folder or to nothing.
bool LeadsToAFolderOrNothing(int folder, const std::string& name) {
  struct stat target {};
  if (::fstatat(folder, name.c_str(), &target, 0) != 0) return true;
  return S_ISDIR(target.st_mode);
}

}  // namespace

bool RemoveFolderLinksBelow(const std::string& base, std::span<const std::string_view> names) {
  const UniqueFd folder(::open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!folder.Valid()) return false;
  bool ok = true;
  for (const std::string_view name : names) {
    const std::string entry(name);
    if (entry.empty() || entry.find('/') != std::string::npos || entry == "." || entry == "..") continue;
    const auto st = StatNoFollow(folder.Get(), entry);
    if (!st || !S_ISLNK(st->st_mode) || !LeadsToAFolderOrNothing(folder.Get(), entry)) continue;
    ok = ::unlinkat(folder.Get(), entry.c_str(), 0) == 0 && ok;
  }
  return ok;
}

bool DeleteFileBelow(const std::string& base, const std::string& relative) {
  const auto parent = OpenParent(base, relative);
  if (!parent) return false;
  const auto st = StatNoFollow(parent->folder.Get(), parent->name);
  if (!st || S_ISDIR(st->st_mode)) return false;
  return ::unlinkat(parent->folder.Get(), parent->name.c_str(), 0) == 0;
}

bool RemoveEmptyFolderBelow(const std::string& base, const std::string& relative) {
  const auto parent = OpenParent(base, relative);
  if (!parent) return false;
  const auto st = StatNoFollow(parent->folder.Get(), parent->name);
  if (!st || !S_ISDIR(st->st_mode)) return false;
  return ::unlinkat(parent->folder.Get(), parent->name.c_str(), AT_REMOVEDIR) == 0;
}

bool RemoveFolderTreeBelow(const std::string& base, const std::string& relative) {
  const auto parent = OpenParent(base, relative);
  if (!parent) return false;
  const auto st = StatNoFollow(parent->folder.Get(), parent->name);
  if (!st) return false;
  if (S_ISLNK(st->st_mode)) return ::unlinkat(parent->folder.Get(), parent->name.c_str(), 0) == 0;
  if (!S_ISDIR(st->st_mode)) return false;
  return RemoveTree(parent->folder.Get(), parent->name);
}

}  // namespace ostrel::platform
