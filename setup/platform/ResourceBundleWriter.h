#pragma once
// Writes a resource bundle (layout in ResourceBundle.h) to a sink, one entry
// at a time, so entries of any size pass through without being held whole.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "setup/platform/Crc32.h"

namespace ostrel::platform {

class ResourceBundleWriter {
 public:
  // Receives the bundle's bytes in order; reports a failure by throwing.
  using Sink = std::function<void(std::span<const std::byte>)>;

  // fileOffset: where in its file the bundle begins, for alignment.
  explicit ResourceBundleWriter(Sink sink, std::uint64_t fileOffset = 0);

  // Starts the entry at a file offset that is a multiple of alignment (a
  // power of two), zeros filling the gap. Throws std::invalid_argument for a
  // name that is invalid or already used (ignoring letter case) or an
  // alignment that is not a power of two, std::logic_error when an entry is
  // still open.
  void BeginEntry(std::string_view name, std::size_t alignment = 1);
  void Write(std::span<const std::byte> bytes);
  void EndEntry();
  void AddEntry(std::string_view name, std::span<const std::byte> bytes);

  // Writes the index and the footer; the writer takes no entries after it.
  void Finish();

 private:
  struct Record {
    std::string name;
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
    std::uint32_t crc = 0;
  };

  void Emit(std::span<const std::byte> bytes);

  Sink sink_;
  std::uint64_t fileOffset_ = 0;
  std::vector<Record> records_;
  Crc32 entryCrc_;
  std::uint64_t written_ = 0;
  bool open_ = false;
  bool finished_ = false;
};

}  // namespace ostrel::platform
