#include "setup/platform/ResourceBundle.h"

#include "setup/platform/Crc32.h"

#include <algorithm>
#include <cstring>

namespace ostrel::platform {
namespace {

using namespace bundle_format;

std::uint64_t ReadLe(std::span<const std::byte> bytes, std::size_t at, std::size_t width) {
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < width; ++i) v |= static_cast<std::uint64_t>(bytes[at + i]) << (8 * i);
  return v;
}

char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool IsValidResourceName(std::string_view name) {
  if (name.empty() || name.size() > kMaxNameLength) return false;
  return std::all_of(name.begin(), name.end(), [](char c) { return c > 0x20 && c < 0x7F && c != '='; });
}

bool ResourceNamesEqual(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

ResourceBundle ResourceBundle::Refuse(std::string problem) {
  ResourceBundle b;
  b.state_ = State::Damaged;
  b.problem_ = std::move(problem);
  return b;
}

ResourceBundle ResourceBundle::Parse(std::span<const std::byte> file) {
  ResourceBundle absent;
  absent.programSize_ = file.size();
  if (file.size() < kFooterSize) return absent;

  const auto footer = file.subspan(file.size() - kFooterSize);
  if (std::memcmp(footer.data() + kFooterSize - kMagic.size(), kMagic.data(), kMagic.size()) != 0) return absent;

  const std::uint64_t version = ReadLe(footer, 0, 4);
  const std::uint64_t count = ReadLe(footer, 4, 4);
  const std::uint64_t indexSize = ReadLe(footer, 8, 8);
  const std::uint64_t bundleSize = ReadLe(footer, 16, 8);
  const std::uint64_t flags = ReadLe(footer, 24, 4);
  const std::uint64_t storedCrc = ReadLe(footer, 28, 4);

  if (version != kVersion) return Refuse("unknown bundle format version " + std::to_string(version));
  if (flags != 0) return Refuse("unknown bundle flags");
  if (bundleSize < kFooterSize || bundleSize > file.size()) return Refuse("bundle size outside the file");
  if (indexSize > bundleSize - kFooterSize) return Refuse("index larger than the bundle");
  if (count > kMaxEntries) return Refuse("too many resources");
  if (count > indexSize / (kRecordFixedSize + 1)) return Refuse("entry count does not fit the index");

  const std::size_t bundleStart = file.size() - static_cast<std::size_t>(bundleSize);
  const std::size_t dataSize = static_cast<std::size_t>(bundleSize - kFooterSize - indexSize);
  const auto index = file.subspan(bundleStart + dataSize, static_cast<std::size_t>(indexSize));

  Crc32 crc;
  crc.Update(index);
  crc.Update(footer.first(kFooterCheckedSize));
  if (crc.Value() != storedCrc) return Refuse("index checksum mismatch");

  ResourceBundle b;
  b.state_ = State::Valid;
  b.programSize_ = bundleStart;
  b.entries_.reserve(static_cast<std::size_t>(count));
  std::size_t at = 0;
  for (std::uint64_t i = 0; i < count; ++i) {
    if (index.size() - at < kRecordFixedSize) return Refuse("index record truncated");
    const std::uint64_t offset = ReadLe(index, at, 8);
    const std::uint64_t size = ReadLe(index, at + 8, 8);
    const auto entryCrc = static_cast<std::uint32_t>(ReadLe(index, at + 16, 4));
    const auto nameLength = static_cast<std::size_t>(ReadLe(index, at + 20, 2));
    at += kRecordFixedSize;
    if (nameLength > index.size() - at) return Refuse("resource name runs past the index");
    const std::string_view name(reinterpret_cast<const char*>(index.data() + at), nameLength);
    at += nameLength;
    if (!IsValidResourceName(name)) return Refuse("invalid resource name");
    if (offset > dataSize || size > dataSize - offset) return Refuse("resource \"" + std::string(name) + "\" lies outside the bundle");
    if (b.Locate(name) != nullptr) return Refuse("resource \"" + std::string(name) + "\" appears twice");
    b.entries_.push_back(Entry{name, file.subspan(bundleStart + static_cast<std::size_t>(offset), static_cast<std::size_t>(size)), entryCrc});
  }
  if (at != index.size()) return Refuse("unexpected bytes after the last index record");
  return b;
}

const ResourceBundle::Entry* ResourceBundle::Locate(std::string_view name) const {
  const auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return ResourceNamesEqual(e.name, name); });
  return it == entries_.end() ? nullptr : &*it;
}

std::optional<std::span<const std::byte>> ResourceBundle::Find(std::string_view name) const {
  const Entry* e = Locate(name);
  if (e == nullptr || Crc32::Of(e->bytes) != e->crc) return std::nullopt;
  return e->bytes;
}

}  // namespace ostrel::platform
