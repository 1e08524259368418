#include "setup/core/SetupState.h"

#include <utility>

namespace ostrel::setup {

SetupState& SetupState::Process() {
  static SetupState state;
  return state;
}

std::string SetupState::Get(std::string SetupValues::*field) const {
  const std::lock_guard lock(mutex_);
  return values_.*field;
}

void SetupState::Set(std::string SetupValues::*field, std::string value) {
  const std::lock_guard lock(mutex_);
  values_.*field = std::move(value);
}

std::string SetupState::InstallPath() const { return Get(&SetupValues::InstallPath); }
void SetupState::SetInstallPath(std::string value) { Set(&SetupValues::InstallPath, std::move(value)); }

std::string SetupState::ChannelTag() const { return Get(&SetupValues::ChannelTag); }
void SetupState::SetChannelTag(std::string value) { Set(&SetupValues::ChannelTag, std::move(value)); }

std::string SetupState::LangTag() const { return Get(&SetupValues::LangTag); }

std::string SetupState::InstallId() const { return Get(&SetupValues::InstallId); }
void SetupState::SetInstallId(std::string value) { Set(&SetupValues::InstallId, std::move(value)); }

std::string SetupState::VersionText() const { return Get(&SetupValues::VersionText); }
void SetupState::SetVersionText(std::string value) { Set(&SetupValues::VersionText, std::move(value)); }

SetupValues SetupState::Snapshot() const {
  const std::lock_guard lock(mutex_);
  return values_;
}

}  // namespace ostrel::setup
