#pragma once
// The five process-wide strings of the setup. The UI thread and pool threads
// reach them, in an order the install chain's hand-over fixes; the lock makes
// each single access safe on top of that.

#include <mutex>
#include <string>

namespace ostrel::setup {

struct SetupValues {
  std::string InstallPath;
  std::string ChannelTag;
  std::string LangTag;
  std::string InstallId;
  std::string VersionText;
};

class SetupState {
 public:
  // The one state of this process; all strings empty until start-up fills them.
  static SetupState& Process();

  SetupState() = default;
  SetupState(const SetupState&) = delete;
  SetupState& operator=(const SetupState&) = delete;

  std::string InstallPath() const;
  void SetInstallPath(std::string value);

  std::string ChannelTag() const;
  void SetChannelTag(std::string value);

  // Never assigned by the program, so always empty; it still travels in
  // reports.
  std::string LangTag() const;

  std::string InstallId() const;
  void SetInstallId(std::string value);

  std::string VersionText() const;
  void SetVersionText(std::string value);

  // All five read under one lock.
  SetupValues Snapshot() const;

 private:
  std::string Get(std::string SetupValues::*field) const;
  void Set(std::string SetupValues::*field, std::string value);

  mutable std::mutex mutex_;
  SetupValues values_;
};

}  // namespace ostrel::setup
