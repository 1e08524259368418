#include "setup/platform/ResourceBundleWriter.h"

#include "setup/platform/ResourceBundle.h"

#include <stdexcept>

namespace ostrel::platform {
namespace {

using namespace bundle_format;

void PutLe(std::vector<std::byte>& out, std::uint64_t v, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) out.push_back(static_cast<std::byte>((v >> (8 * i)) & 0xFFu));
}

}  // namespace

ResourceBundleWriter::ResourceBundleWriter(Sink sink, std::uint64_t fileOffset)
    : sink_(std::move(sink)), fileOffset_(fileOffset) {}

void ResourceBundleWriter::Emit(std::span<const std::byte> bytes) {
  sink_(bytes);
  written_ += bytes.size();
}

void ResourceBundleWriter::BeginEntry(std::string_view name, std::size_t alignment) {
  if (open_ || finished_) throw std::logic_error("resource bundle writer: an entry is still open or the bundle is finished");
  if (!IsValidResourceName(name)) throw std::invalid_argument("invalid resource name \"" + std::string(name) + "\"");
  for (const Record& r : records_) {
    if (ResourceNamesEqual(r.name, name)) throw std::invalid_argument("resource \"" + std::string(name) + "\" given twice");
  }
  if (records_.size() == kMaxEntries) throw std::invalid_argument("too many resources");
  if (alignment == 0 || (alignment & (alignment - 1)) != 0) throw std::invalid_argument("alignment is not a power of two");
  const std::uint64_t misalignment = (fileOffset_ + written_) & (alignment - 1);
  if (misalignment != 0) Emit(std::vector<std::byte>(static_cast<std::size_t>(alignment - misalignment)));
  records_.push_back(Record{std::string(name), written_, 0, 0});
  entryCrc_ = Crc32{};
  open_ = true;
}

void ResourceBundleWriter::Write(std::span<const std::byte> bytes) {
  if (!open_) throw std::logic_error("resource bundle writer: no entry is open");
  entryCrc_.Update(bytes);
  Emit(bytes);
}

void ResourceBundleWriter::EndEntry() {
  if (!open_) throw std::logic_error("resource bundle writer: no entry is open");
  Record& r = records_.back();
  r.size = written_ - r.offset;
  r.crc = entryCrc_.Value();
  open_ = false;
}

void ResourceBundleWriter::AddEntry(std::string_view name, std::span<const std::byte> bytes) {
  BeginEntry(name);
  Write(bytes);
  EndEntry();
}

void ResourceBundleWriter::Finish() {
  if (open_ || finished_) throw std::logic_error("resource bundle writer: an entry is still open or the bundle is finished");
  std::vector<std::byte> tail;
  for (const Record& r : records_) {
    PutLe(tail, r.offset, 8);
    PutLe(tail, r.size, 8);
    PutLe(tail, r.crc, 4);
    PutLe(tail, r.name.size(), 2);
    for (char c : r.name) tail.push_back(static_cast<std::byte>(c));
  }
  const std::uint64_t indexSize = tail.size();
  PutLe(tail, kVersion, 4);
  PutLe(tail, records_.size(), 4);
  PutLe(tail, indexSize, 8);
  PutLe(tail, written_ + indexSize + kFooterSize, 8);
  PutLe(tail, 0, 4);
  PutLe(tail, Crc32::Of(tail), 4);
  for (char c : kMagic) tail.push_back(static_cast<std::byte>(c));
  Emit(tail);
  finished_ = true;
}

}  // namespace ostrel::platform
