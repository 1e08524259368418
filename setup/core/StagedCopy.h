#pragma once
// A copy of a file made under a staging name on a second thread while the
// caller goes on with other work, then given its real name in one step, or
// dropped. The install copies the setup program this way while the extractor
// runs, so the uninstaller costs no time of its own; what ends up on disk, and
// when the uninstaller appears under its name, is as with a plain copy made at
// that point.

#include <string>
#include <thread>

namespace ostrel::setup {

class StagedCopy {
 public:
  // Starts copying `from` to `staging`, removing a file left there before.
  // When no thread can be had the copy is made at once.
  StagedCopy(std::string from, std::string staging);
  // Waits for the copy; a staged file that was not moved is removed.
  ~StagedCopy();

  StagedCopy(const StagedCopy&) = delete;
  StagedCopy& operator=(const StagedCopy&) = delete;

  // Waits for the copy and gives it the name `to`, which must be free. False
  // when the copy or the move failed; the staged file is gone either way.
  bool MoveTo(const std::string& to);

 private:
  void Copy();
  void Finish();

  std::string from_;
  std::string staging_;
  bool copied_ = false;  // written by the copying thread, read after the join
  std::thread worker_;
};

}  // namespace ostrel::setup
