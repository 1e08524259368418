#pragma once
// Folders made for the user alone.

#include <string>

namespace ostrel::platform::posix {

// Creates the missing folders of an absolute path, mode 0700; folders that
// exist keep their modes. Stops at the first that cannot be made.
void MakeOwnerFolders(const std::string& path);

}  // namespace ostrel::platform::posix
