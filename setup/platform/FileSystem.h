#pragma once
// File and folder operations the setup performs, one to one with the Windows
// calls it names (GetFileAttributesW, DeleteFileW, CreateDirectoryW,
// CopyFileW, MoveFileW). Paths are UTF-8. None of them throws: each reports success and
// leaves the caller to decide whether a failure matters. The names keep
// clear of the Windows header's macros (DeleteFile, CopyFile) so a Windows
// backend can include it.

#include <string>

namespace ostrel::platform {

// A file written in a folder before it has a name there. On Linux it has no
// name at all until it is published (O_TMPFILE), so nothing of it is left if
// the process ends first, and no name a user's file might have is ever used;
// where the system cannot make such files a hidden file of a unique name
// stands in, removed again when the object goes unpublished.
class PendingFile {
 public:
  virtual ~PendingFile() = default;
  // Gives the file the name `to`, in the folder it was made in, in one step.
  // False, leaving whatever is at `to` as it was, when the name is taken or
  // the step fails; the file is no longer this object's either way.
  virtual bool Publish(const std::string& to) = 0;
};

// True when path names an existing file that is not a folder. A symbolic
// link counts by what it points at, as a file attribute query would.
bool FileExists(const std::string& path);

// True when path names an existing folder.
bool DirectoryExists(const std::string& path);

// Removes one file; a folder at path is never removed. False when nothing
// was removed.
bool RemoveFile(const std::string& path);

// Creates the folder together with every missing parent. True when the
// folder exists afterwards.
bool ForceDirectories(const std::string& path);

// Copies the bytes of the file `from` to `to`, with the source's permission
// to run. With failIfExists a file (or link) already at `to` makes it fail
// without touching it; otherwise an existing file is replaced. A copy left
// incomplete is removed again.
bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists);

// Gives the file `from` the name `to` in one step; anything already at `to`
// makes it fail and stays as it was. Both names on one volume.
bool MoveFileTo(const std::string& from, const std::string& to);

}  // namespace ostrel::platform
