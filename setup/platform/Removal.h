#pragma once
// Removal of named items below a folder, one to one with the Windows calls
// the uninstaller makes (DeleteFileW, RemoveDirectoryW, a recursive folder
// delete). `relative` names the item below `base` with the style's separator;
// no part of it is followed when it is a symbolic link, so nothing outside
// `base` is ever reached through a link placed inside it. None of them
// throws; each is guarded on its own by its caller.

#include <span>
#include <string>
#include <string_view>

namespace ostrel::platform {

// Removes one file or link; a folder is never removed. False when nothing
// was removed.
bool DeleteFileBelow(const std::string& base, const std::string& relative);

// Removes the folder when it is a real folder and empty. False otherwise.
bool RemoveEmptyFolderBelow(const std::string& base, const std::string& relative);

// Removes the folder with everything in it. A link standing at its place is
// removed itself, its target is left alone; a file of that name stays. True
// when the item is gone afterwards; a partial failure leaves what it could
// not remove and returns false.
bool RemoveFolderTreeBelow(const std::string& base, const std::string& relative);

// Removes each entry of base named in `names` that is a symbolic link leading
// to a folder, or to nothing (which could become one), so that writing those
// folders into base cannot end up elsewhere; the links themselves go, never
// what they lead to. Only the named entries are looked at: base may be a
// folder the user chose, full of links of their own. False when such a link
// could not be removed.
bool RemoveFolderLinksBelow(const std::string& base, std::span<const std::string_view> names);

}  // namespace ostrel::platform
