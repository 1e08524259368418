#include "setup/core/StagedCopy.h"

#include <system_error>
#include <utility>

namespace ostrel::setup {

StagedCopy::StagedCopy(Stage stage) : stage_(std::move(stage)) {
  try {
    worker_ = std::thread([this] { pending_ = stage_(); });
  } catch (const std::system_error&) {
    pending_ = stage_();
  }
}

StagedCopy::~StagedCopy() { Finish(); }

void StagedCopy::Finish() {
  if (worker_.joinable()) worker_.join();
}

bool StagedCopy::MoveTo(const std::string& to) {
  Finish();
  const std::unique_ptr<platform::PendingFile> pending = std::move(pending_);
  return pending != nullptr && pending->Publish(to);
}

}  // namespace ostrel::setup
