#pragma once
// CRC-32 (IEEE 802.3, reflected, polynomial 0xEDB88320), the checksum of the
// resource bundle. Incremental: feed pieces in order through Update.

#include <cstddef>
#include <cstdint>
#include <span>

namespace ostrel::platform {

class Crc32 {
 public:
  void Update(std::span<const std::byte> bytes);
  std::uint32_t Value() const { return ~state_; }

  static std::uint32_t Of(std::span<const std::byte> bytes) {
    Crc32 crc;
    crc.Update(bytes);
    return crc.Value();
  }

  // The byte-table computation alone, whatever the processor offers; the
  // reference the faster paths are held to.
  static std::uint32_t PortableOf(std::span<const std::byte> bytes);

 private:
  std::uint32_t state_ = 0xFFFFFFFFu;
};

}  // namespace ostrel::platform
