#include "setup/platform/Sha1.h"

#include <openssl/evp.h>

#include <memory>
#include <stdexcept>

#include "setup/platform/SharedLibrary.h"

namespace ostrel::platform {
namespace {

// The system's crypto library, opened on first use: only the report signs
// anything, on its own thread, before it posts; the HTTPS client's own load
// then finds the library already there.
struct Crypto {
  std::unique_ptr<SharedLibrary> library;
  decltype(&EVP_sha1) sha1 = nullptr;
  decltype(&EVP_Digest) digest = nullptr;
};

const Crypto* LoadCrypto() {
  static const std::unique_ptr<const Crypto> crypto = []() -> std::unique_ptr<const Crypto> {
    auto c = std::make_unique<Crypto>();
    c->library = SharedLibrary::OpenFirst({"libcrypto.so.3"});
    const bool complete = c->library != nullptr && c->library->Bind(c->sha1, "EVP_sha1") &&
                          c->library->Bind(c->digest, "EVP_Digest");
    if (!complete) return nullptr;
    return c;
  }();
  return crypto.get();
}

}  // namespace

Sha1Digest Sha1(std::span<const std::byte> bytes) {
  const Crypto* crypto = LoadCrypto();
  Sha1Digest digest{};
  unsigned int length = 0;
  if (crypto == nullptr || crypto->digest(bytes.data(), bytes.size(), digest.data(), &length, crypto->sha1(), nullptr) != 1 ||
      length != digest.size())
    throw std::runtime_error("SHA-1 is not available");
  return digest;
}

}  // namespace ostrel::platform
