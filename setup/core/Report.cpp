#include "setup/core/Report.h"

#include <array>
#include <cstdlib>
#include <span>
#include <stdexcept>

#include "setup/core/SetupState.h"
#include "setup/core/TaskRunner.h"
#include "setup/core/Utf8.h"
#include "setup/platform/Clock.h"
#include "setup/platform/Https.h"
#include "setup/platform/Sha1.h"
#include "setup/platform/System.h"

#ifndef OSTREL_STAT_BASE_URL
#define OSTREL_STAT_BASE_URL "https://stat.ostrel.example"
#endif

namespace ostrel::setup {
namespace {

constexpr std::string_view kUserAgent =
    "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) Ostrel";
constexpr std::string_view kContentType = "application/json;charset=UTF-8";
constexpr std::string_view kBaseOverride = "OSTREL_STAT_BASE";
constexpr std::string_view kCaFileOverride = "OSTREL_STAT_CA_FILE";

std::string Environment(std::string_view name) {
  const char* value = std::getenv(std::string(name).c_str());
  return value != nullptr ? std::string(value) : std::string();
}

void AppendHex4(std::string& out, unsigned value) {
  static constexpr std::string_view kDigits = "0123456789ABCDEF";
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out += kDigits[(value >> shift) & 0xF];
}

void WriteString(std::string& out, std::string_view utf8) {
  const std::optional<std::u16string> units = Utf8ToUtf16(utf8);
  if (!units) throw std::invalid_argument("report text is not valid UTF-8");
  out += '"';
  for (const char16_t unit : *units) {
    switch (unit) {
      case u'"': out += "\\\""; break;
      case u'\\': out += "\\\\"; break;
      case u'/': out += "\\/"; break;
      case u'\b': out += "\\b"; break;
      case u'\t': out += "\\t"; break;
      case u'\n': out += "\\n"; break;
      case u'\f': out += "\\f"; break;
      case u'\r': out += "\\r"; break;
      default:
        if (unit < 32 || unit > 127)
          AppendHex4(out, unit);
        else
          out += static_cast<char>(unit);
    }
  }
  out += '"';
}

void WriteValue(std::string& out, const nlohmann::ordered_json& value) {
  switch (value.type()) {
    case nlohmann::json::value_t::object: {
      out += '{';
      bool first = true;
      for (const auto& [name, member] : value.items()) {
        if (!first) out += ',';
        first = false;
        WriteString(out, name);
        out += ':';
        WriteValue(out, member);
      }
      out += '}';
      break;
    }
    case nlohmann::json::value_t::array: {
      out += '[';
      bool first = true;
      for (const auto& element : value) {
        if (!first) out += ',';
        first = false;
        WriteValue(out, element);
      }
      out += ']';
      break;
    }
    case nlohmann::json::value_t::string:
      WriteString(out, value.get_ref<const std::string&>());
      break;
    default:
      // Numbers, booleans and null hold no characters to escape.
      out += value.dump();
  }
}

// The test-only trust file counts only for addresses under the overridden
// base, so it can never widen what a release build trusts.
std::string TrustFileFor(const std::string& url) {
  const std::string base = Environment(kBaseOverride);
  if (base.empty() || url.rfind(base, 0) != 0) return {};
  return Environment(kCaFileOverride);
}

}  // namespace

std::string_view ReportEndpoint(ReportKind kind) {
  switch (kind) {
    case ReportKind::Install: return "/stat/install/";
    case ReportKind::Update: return "/stat/updateinstall/";
    case ReportKind::Uninstall: return "/stat/uninstall/";
  }
  return "/stat/install/";
}

std::string ReportSignature(const ReportInputs& inputs, std::int64_t timeStamp) {
  const std::string text = inputs.LangTag + inputs.ChannelTag + inputs.InstallId +
                           inputs.VersionText + std::to_string(timeStamp) +
                           std::string(kReportSecret);
  const platform::Sha1Digest digest = platform::Sha1(std::as_bytes(std::span(text)));
  static constexpr std::string_view kDigits = "0123456789abcdef";
  std::string hex;
  hex.reserve(digest.size() * 2);
  for (const std::uint8_t byte : digest) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0xF];
  }
  return hex;
}

nlohmann::ordered_json BuildReportRequest(const ReportInputs& inputs, std::int64_t timeStamp) {
  nlohmann::ordered_json request = nlohmann::ordered_json::object();
  request["lang"] = inputs.LangTag;
  request["fl"] = inputs.ChannelTag;
  request["uuid"] = inputs.InstallId;
  request["version"] = inputs.VersionText;
  request["ts"] = timeStamp;
  request["hash"] = ReportSignature(inputs, timeStamp);
  return request;
}

std::string SerializeReportJson(const nlohmann::ordered_json& value) {
  std::string out;
  WriteValue(out, value);
  return out;
}

std::string ReportBaseAddress() {
  std::string base = Environment(kBaseOverride);
  if (base.empty()) base = OSTREL_STAT_BASE_URL;
  while (!base.empty() && base.back() == '/') base.pop_back();
  return base;
}

int StatusFromResponse(long httpStatus, std::string_view body, nlohmann::json& Response) {
  nlohmann::json parsed = nlohmann::json::parse(body, nullptr, false);
  if (parsed.is_discarded() || !parsed.is_object()) return 0;
  Response = std::move(parsed);
  return static_cast<int>(httpStatus);
}

int PostJson(const std::string& Url, const nlohmann::ordered_json& Request,
             nlohmann::json& Response) {
  try {
    platform::HttpsPostRequest post;
    post.url = Url;
    post.body = SerializeReportJson(Request);
    post.userAgent = kUserAgent;
    post.headers.emplace_back("Content-Type", kContentType);
    post.caFile = TrustFileFor(Url);
    const std::optional<platform::HttpsResponse> answer = platform::HttpsPost(post);
    if (!answer) return 0;
    return StatusFromResponse(answer->status, answer->body, Response);
  } catch (...) {
    return 0;
  }
}

void SendReport(ReportKind kind, const ReportInputs& inputs) {
  try {
    const ReportInputs text{ReplaceInvalidUtf8(inputs.LangTag),
                            ReplaceInvalidUtf8(inputs.ChannelTag),
                            ReplaceInvalidUtf8(inputs.InstallId),
                            ReplaceInvalidUtf8(inputs.VersionText)};
    const nlohmann::ordered_json request =
        BuildReportRequest(text, platform::LocalWallClockSeconds());
    nlohmann::json response = nlohmann::json::object();
    PostJson(ReportBaseAddress() + std::string(ReportEndpoint(kind)), request, response);
  } catch (...) {
    // A report is never worth more than the step that sends it.
  }
}

void SendReport(ReportKind kind) {
  SetupValues values = SetupState::Process().Snapshot();
  SendReport(kind, ReportInputs{std::move(values.LangTag), std::move(values.ChannelTag),
                                std::move(values.InstallId), std::move(values.VersionText)});
}

std::shared_future<void> StartReport(ITaskRunner& tasks, ReportKind kind, std::shared_future<void> start) {
  auto done = std::make_shared<std::promise<void>>();
  std::shared_future<void> finished = done->get_future().share();
  tasks.StartThread([kind, done, start = std::move(start)] {
    if (start.valid()) start.wait_for(kReportHoldLimit);
    SendReport(kind);
    done->set_value();
  });
  return finished;
}

}  // namespace ostrel::setup
