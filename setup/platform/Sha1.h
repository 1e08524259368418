#pragma once
// SHA-1 from the platform's crypto library, for the signature of the
// statistics report.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace ostrel::platform {

using Sha1Digest = std::array<std::uint8_t, 20>;

Sha1Digest Sha1(std::span<const std::byte> bytes);

}  // namespace ostrel::platform
