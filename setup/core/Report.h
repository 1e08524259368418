#pragma once
// The usage statistics report: a compact, signed JSON object posted over
// HTTPS once per installation, update and uninstallation. Fire and forget:
// every failure stays inside.

#include <chrono>
#include <cstdint>
#include <future>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace ostrel::setup {

class ITaskRunner;

enum class ReportKind : std::uint8_t { Install, Update, Uninstall };

// "/stat/install/", "/stat/updateinstall/", "/stat/uninstall/".
std::string_view ReportEndpoint(ReportKind kind);

// The values a report carries, as the process-wide strings hold them.
struct ReportInputs {
  std::string LangTag;
  std::string ChannelTag;
  std::string InstallId;
  std::string VersionText;
};

// The word appended to the signed text.
inline constexpr std::string_view kReportSecret = "Zq4vTe";

// 40 lower-case hexadecimal digits of SHA-1 over the UTF-8 concatenation of
// the four strings, the decimal time stamp and the secret word.
std::string ReportSignature(const ReportInputs& inputs, std::int64_t timeStamp);

// {"lang","fl","uuid","version","ts","hash"} in this order.
nlohmann::ordered_json BuildReportRequest(const ReportInputs& inputs, std::int64_t timeStamp);

// Compact JSON, pure ASCII: \" \\ \/ \b \t \n \f \r, and \uXXXX (upper-case
// hexadecimal, per UTF-16 code unit) for every other character below 32 and
// every one above 127. Throws on strings that are not valid UTF-8.
std::string SerializeReportJson(const nlohmann::ordered_json& value);

// The statistics server's address without the endpoint: the build setting
// OSTREL_STAT_BASE_URL, unless the environment variable OSTREL_STAT_BASE
// overrides it. Only for addresses under that override, OSTREL_STAT_CA_FILE
// may name a PEM file trusted in place of the system's store, which is how
// tests reach a local server without switching verification off.
std::string ReportBaseAddress();

// The answer rule of PostJson, apart from the network: the status when the
// body is a JSON object (then parsed into Response), 0 otherwise.
int StatusFromResponse(long httpStatus, std::string_view body, nlohmann::json& Response);

// Posts Request to Url and parses the answer into the empty object Response.
// Returns the HTTP status when the answer is a JSON object, 0 when it is not
// and 0 on any failure; never throws.
int PostJson(const std::string& Url, const nlohmann::ordered_json& Request,
             nlohmann::json& Response);

// Builds and posts one report from the given values; never throws.
void SendReport(ReportKind kind, const ReportInputs& inputs);

// The same from the process-wide strings as they are when it runs.
void SendReport(ReportKind kind);

// How long a report held back by its start waits at most.
inline constexpr std::chrono::seconds kReportHoldLimit{2};

// SendReport(kind) in the background, on a thread of its own. With `start`,
// it first waits until that is ready (at most kReportHoldLimit): loading the
// HTTPS and crypto libraries (about 25 of them) holds the loader's lock,
// which every thread the process creates meanwhile has to wait for, so an
// installation lets its report start once its own threads run. Nobody has to
// wait for it; the future is ready once the report is done, for a caller that
// would give it a moment before the process ends.
std::shared_future<void> StartReport(ITaskRunner& tasks, ReportKind kind, std::shared_future<void> start = {});

}  // namespace ostrel::setup
