#include "setup/platform/PathStyle.h"

namespace ostrel::platform {

namespace {

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::size_t LastSeparator(std::string_view path, PathStyle style) {
  for (std::size_t i = path.size(); i > 0; --i) {
    const char c = path[i - 1];
    if (IsSeparator(c, style) || (Resolve(style) == PathStyle::Windows && c == ':')) return i - 1;
  }
  return std::string_view::npos;
}

}  // namespace

char Separator(PathStyle style) { return Resolve(style) == PathStyle::Windows ? '\\' : '/'; }

bool IsSeparator(char c, PathStyle style) {
  if (c == '/') return true;
  return Resolve(style) == PathStyle::Windows && c == '\\';
}

std::string_view ExecutableSuffix(PathStyle style) {
  return Resolve(style) == PathStyle::Windows ? std::string_view(".exe") : std::string_view();
}

std::string ExecutableName(std::string_view base, PathStyle style) {
  std::string name(base);
  name += ExecutableSuffix(style);
  return name;
}

std::string UninstallerFileName(PathStyle style) { return ExecutableName("Uninstall", style); }

std::string_view FileNamePart(std::string_view path, PathStyle style) {
  const std::size_t sep = LastSeparator(path, style);
  return sep == std::string_view::npos ? path : path.substr(sep + 1);
}

std::string_view FolderPart(std::string_view path, PathStyle style) {
  const std::size_t sep = LastSeparator(path, style);
  return sep == std::string_view::npos ? std::string_view() : path.substr(0, sep + 1);
}

std::string_view ProgramBaseName(std::string_view path, PathStyle style) {
  const std::string_view name = FileNamePart(path, style);
  if (Resolve(style) != PathStyle::Windows) return name;
  const std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? name : name.substr(0, dot);
}

bool SameFileNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

bool PathIsUnderRoot(std::string_view path, std::string_view root, PathStyle style) {
  if (root.empty() || !path.starts_with(root)) return false;
  if (Resolve(style) == PathStyle::Windows) return true;
  if (IsSeparator(root.back(), style) || path.size() == root.size()) return true;
  return IsSeparator(path[root.size()], style);
}

bool IsAbsolutePath(std::string_view path, PathStyle style) {
  if (Resolve(style) != PathStyle::Windows) return path.starts_with('/');
  const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  if (path.size() >= 3 && letter(path[0]) && path[1] == ':' && IsSeparator(path[2], style)) return true;
  return path.size() >= 2 && IsSeparator(path[0], style) && IsSeparator(path[1], style);
}

std::string JoinPath(std::string_view folder, std::string_view name, PathStyle style) {
  std::string joined = folder.empty() ? std::string() : WithTrailingSeparator(folder, style);
  joined += name;
  return joined;
}

std::string WithTrailingSeparator(std::string_view folder, PathStyle style) {
  std::string out(folder);
  if (out.empty() || !IsSeparator(out.back(), style)) out += Separator(style);
  return out;
}

}  // namespace ostrel::platform
