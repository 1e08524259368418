#include "setup/platform/Sha1.h"

#include <openssl/evp.h>

#include <memory>
#include <stdexcept>

namespace ostrel::platform {

Sha1Digest Sha1(std::span<const std::byte> bytes) {
  const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                        &EVP_MD_CTX_free);
  Sha1Digest digest{};
  unsigned int length = 0;
  if (!context || EVP_DigestInit_ex(context.get(), EVP_sha1(), nullptr) != 1 ||
      EVP_DigestUpdate(context.get(), bytes.data(), bytes.size()) != 1 ||
      EVP_DigestFinal_ex(context.get(), digest.data(), &length) != 1 || length != digest.size())
    throw std::runtime_error("SHA-1 is not available");
  return digest;
}

}  // namespace ostrel::platform
