#include "setup/platform/TextEncoding.h"

#include <iconv.h>
#include <langinfo.h>

#include <array>
#include <cerrno>

namespace ostrel::platform {
namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(::iconv_open(to, from)) {}
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  ~Converter() {
    if (Valid()) ::iconv_close(handle_);
  }
  bool Valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t Get() const { return handle_; }

 private:
  iconv_t handle_;
};

}  // namespace

std::optional<std::string> NarrowToUtf8(std::span<const std::byte> bytes) {
  const Converter converter("UTF-8", ::nl_langinfo(CODESET));
  if (!converter.Valid()) return std::nullopt;

  std::string result;
  char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes.data()));
  std::size_t inLeft = bytes.size();
  std::array<char, 4096> buffer{};
  while (inLeft > 0) {
    char* out = buffer.data();
    std::size_t outLeft = buffer.size();
    const std::size_t done = ::iconv(converter.Get(), &in, &inLeft, &out, &outLeft);
    result.append(buffer.data(), buffer.size() - outLeft);
    if (done == static_cast<std::size_t>(-1) && errno != E2BIG) return std::nullopt;
  }
  return result;
}

}  // namespace ostrel::platform
