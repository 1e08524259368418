#pragma once
// The temporary folder and its uniquely named files, one to one with
// GetTempPathW and GetTempFileNameW. On POSIX the folder is a private one
// (mode 0700) made for this run under $TMPDIR with an unpredictable name, so
// that what the setup writes there cannot be swapped or read by other users
// of a shared /tmp.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ostrel::platform {

class ITemporaryFolder {
 public:
  virtual ~ITemporaryFolder() = default;

  // The folder, ending with a separator; nothing when it cannot be had.
  virtual std::optional<std::string> Path() = 0;

  // Creates a new, empty file with a unique name that starts with prefix in
  // the folder and returns its path; nothing when no file could be made.
  virtual std::optional<std::string> CreateUniqueFile(std::string_view prefix) = 0;

  // Removes the run's private folder once it is empty. The shared Windows
  // folder stays. False when a private folder is still there afterwards.
  virtual bool Release() = 0;

  // Removes the private folders earlier runs of this program left here when
  // they were ended before they could (their process is gone), with what
  // they hold; those of runs still going, and of other users, stay.
  virtual void RemoveLeftovers() = 0;
};

std::unique_ptr<ITemporaryFolder> CreateTemporaryFolder();

// A private folder for what the temporary folder cannot hold or run (on POSIX
// a $TMPDIR that is missing, not writable or mounted noexec): made, with its
// parents, under $XDG_CACHE_HOME, mode 0700, and removed the same way.
std::unique_ptr<ITemporaryFolder> CreateFallbackTemporaryFolder();

}  // namespace ostrel::platform
