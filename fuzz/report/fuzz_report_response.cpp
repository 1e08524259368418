// Feeds server answers to the report's answer rule, and the same bytes as
// text to the report's serializer, which must give ASCII that reads back as
// the text it was given.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "setup/core/Report.h"
#include "setup/core/Utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const long status = 100 + (data[0] | (data[1] << 8)) % 500;
  const std::string_view body(reinterpret_cast<const char*>(data + 2), size - 2);

  nlohmann::json response = nlohmann::json::object();
  const int result = ostrel::setup::StatusFromResponse(status, body, response);
  if (result != 0 && (result != status || !response.is_object())) std::abort();
  if (result == 0 && response != nlohmann::json::object()) std::abort();

  if (ostrel::setup::IsValidUtf8(body)) {
    const std::string json = ostrel::setup::SerializeReportJson(nlohmann::ordered_json(body));
    for (const char c : json)
      if (static_cast<unsigned char>(c) > 127) std::abort();
    if (nlohmann::json::parse(json).get<std::string>() != body) std::abort();
  }
  return 0;
}
