#include "setup/core/StagedCopy.h"

#include <system_error>
#include <utility>

#include "setup/platform/FileSystem.h"

namespace ostrel::setup {

StagedCopy::StagedCopy(std::string from, std::string staging) : from_(std::move(from)), staging_(std::move(staging)) {
  try {
    worker_ = std::thread([this] { Copy(); });
  } catch (const std::system_error&) {
    Copy();
  }
}

StagedCopy::~StagedCopy() {
  Finish();
  if (copied_) platform::RemoveFile(staging_);
}

void StagedCopy::Copy() {
  if (platform::FileExists(staging_)) platform::RemoveFile(staging_);
  copied_ = platform::CopyFileTo(from_, staging_, true);
}

void StagedCopy::Finish() {
  if (worker_.joinable()) worker_.join();
}

bool StagedCopy::MoveTo(const std::string& to) {
  Finish();
  if (!copied_) return false;
  copied_ = false;
  if (platform::MoveFileTo(staging_, to)) return true;
  platform::RemoveFile(staging_);
  return false;
}

}  // namespace ostrel::setup
