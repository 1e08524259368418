#include "setup/platform/Sha1.h"

#include <windows.h>
#include <bcrypt.h>

#include <climits>
#include <stdexcept>

namespace ostrel::platform {
namespace {

// The algorithm provider is opened once and kept: opening it is the costly
// part, and a provider serves hashes on any thread.
BCRYPT_ALG_HANDLE Sha1Provider() {
  static const BCRYPT_ALG_HANDLE provider = [] {
    BCRYPT_ALG_HANDLE handle = nullptr;
    if (!BCRYPT_SUCCESS(::BCryptOpenAlgorithmProvider(&handle, BCRYPT_SHA1_ALGORITHM, nullptr, 0))) return BCRYPT_ALG_HANDLE{};
    return handle;
  }();
  return provider;
}

class Hash {
 public:
  explicit Hash(BCRYPT_ALG_HANDLE provider) {
    if (!BCRYPT_SUCCESS(::BCryptCreateHash(provider, &handle_, nullptr, 0, nullptr, 0, 0))) handle_ = nullptr;
  }
  Hash(const Hash&) = delete;
  Hash& operator=(const Hash&) = delete;
  ~Hash() {
    if (handle_ != nullptr) ::BCryptDestroyHash(handle_);
  }
  BCRYPT_HASH_HANDLE Get() const { return handle_; }

 private:
  BCRYPT_HASH_HANDLE handle_ = nullptr;
};

}  // namespace

Sha1Digest Sha1(std::span<const std::byte> bytes) {
  const BCRYPT_ALG_HANDLE provider = Sha1Provider();
  if (provider == nullptr) throw std::runtime_error("SHA-1 is not available");
  const Hash hash(provider);
  if (hash.Get() == nullptr) throw std::runtime_error("SHA-1 is not available");
  auto* data = reinterpret_cast<PUCHAR>(const_cast<std::byte*>(bytes.data()));
  for (std::size_t left = bytes.size(); left > 0;) {
    const ULONG piece = left > ULONG_MAX ? ULONG_MAX : static_cast<ULONG>(left);
    if (!BCRYPT_SUCCESS(::BCryptHashData(hash.Get(), data, piece, 0))) throw std::runtime_error("SHA-1 failed");
    data += piece;
    left -= piece;
  }
  Sha1Digest digest{};
  if (!BCRYPT_SUCCESS(::BCryptFinishHash(hash.Get(), digest.data(), static_cast<ULONG>(digest.size()), 0))) {
    throw std::runtime_error("SHA-1 failed");
  }
  return digest;
}

}  // namespace ostrel::platform
