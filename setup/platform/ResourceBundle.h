#pragma once
// The resource bundle that the packer appends to a built program, and its
// parser. A bundle is read from the end of the file:
//
//   entry bytes ...                       each entry's bytes in order; zeros
//                                         may come before one to align it
//   index                                 one record per entry:
//     u64 offset, u64 size                  of the entry, from the bundle's start
//     u32 crc                               CRC-32 of the entry's bytes
//     u16 name length, name bytes           1..255 printable ASCII characters
//   footer (40 bytes)
//     u32 format version (1), u32 entry count, u64 index size,
//     u64 bundle size (entries + index + footer), u32 flags (0),
//     u32 CRC-32 of the index followed by the footer's first 28 bytes,
//     8 magic bytes "OSTRLRES"
//
// All numbers are little-endian. Names are matched ignoring ASCII letter
// case only: resource names are ASCII by construction, so no locale enters.
// The index checksum is checked when the bundle is parsed; an entry's own
// checksum when its bytes are asked for, so opening a program with a large
// payload reads only its tail.
//
// Every damage (bad magic, sizes or offsets outside the file, overlapping
// index, duplicate names, checksum mismatch) makes the whole bundle unusable:
// lookups then find nothing, exactly as for a program without resources.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel::platform {

namespace bundle_format {
inline constexpr std::array<char, 8> kMagic = {'O', 'S', 'T', 'R', 'L', 'R', 'E', 'S'};
inline constexpr std::uint32_t kVersion = 1;
inline constexpr std::size_t kFooterSize = 40;
inline constexpr std::size_t kFooterCheckedSize = 28;
inline constexpr std::size_t kRecordFixedSize = 22;
inline constexpr std::size_t kMaxNameLength = 255;
// Far more than a program carries; bounds the work a forged index can cause.
inline constexpr std::size_t kMaxEntries = 4096;
}  // namespace bundle_format

// Printable ASCII (0x21..0x7E) except '=', 1 to 255 characters.
bool IsValidResourceName(std::string_view name);

// ASCII case-insensitive equality of two resource names.
bool ResourceNamesEqual(std::string_view a, std::string_view b);

class ResourceBundle {
 public:
  enum class State : std::uint8_t { Absent, Valid, Damaged };

  struct Entry {
    std::string_view name;
    std::span<const std::byte> bytes;
    std::uint32_t crc = 0;
  };

  // Views into `file`, which must outlive the bundle.
  static ResourceBundle Parse(std::span<const std::byte> file);

  State GetState() const { return state_; }
  // Why a damaged bundle was refused; empty otherwise.
  const std::string& Problem() const { return problem_; }
  // Bytes of the file before the bundle: the program itself. Undefined
  // for a damaged bundle.
  std::size_t ProgramSize() const { return programSize_; }
  const std::vector<Entry>& Entries() const { return entries_; }

  // The entry of that name without checking its bytes (callers that stream
  // the bytes check the CRC themselves as they go).
  const Entry* Locate(std::string_view name) const;
  // The entry's bytes, only when their checksum matches.
  std::optional<std::span<const std::byte>> Find(std::string_view name) const;

 private:
  ResourceBundle() = default;
  static ResourceBundle Refuse(std::string problem);

  State state_ = State::Absent;
  std::string problem_;
  std::size_t programSize_ = 0;
  std::vector<Entry> entries_;
};

}  // namespace ostrel::platform
