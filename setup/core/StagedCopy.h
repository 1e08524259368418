#pragma once
// The uninstaller's copy, written on a second thread as a pending file (one
// with no name yet) while the caller goes on with other work, then given its
// real name in one step, or dropped. The install makes the uninstaller this
// way while the extractor runs, so it costs no time of its own; what ends up
// on disk, and when the uninstaller appears under its name, is as with a copy
// made at that point. No name a user's file might have is used or removed on
// the way, and a process that ends meanwhile leaves nothing.

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "setup/platform/FileSystem.h"

namespace ostrel::setup {

class StagedCopy {
 public:
  using Stage = std::function<std::unique_ptr<platform::PendingFile>()>;

  // Starts writing the copy through `stage`; when no thread can be had it is
  // written at once.
  explicit StagedCopy(Stage stage);
  // Waits for the copy; one that was not published is dropped.
  ~StagedCopy();

  StagedCopy(const StagedCopy&) = delete;
  StagedCopy& operator=(const StagedCopy&) = delete;

  // Waits for the copy and gives it the name `to`, which must be free. False
  // when the copy or the naming failed; the copy is gone either way.
  bool MoveTo(const std::string& to);

 private:
  void Finish();

  Stage stage_;
  std::unique_ptr<platform::PendingFile> pending_;  // written by the worker, read after the join
  std::thread worker_;
};

}  // namespace ostrel::setup
