#include "setup/platform/Https.h"

#include <curl/curl.h>

#include "setup/platform/SharedLibrary.h"

#include <memory>

namespace ostrel::platform {
namespace {

using Clock = std::chrono::steady_clock;

// libcurl is opened when the first request is made, which is on the report's
// own thread: the setup's start does not wait for it and its dozens of
// dependencies, and a system without it only loses the report.
struct Curl {
  std::unique_ptr<SharedLibrary> library;
  decltype(&curl_global_init) globalInit = nullptr;
  decltype(&curl_easy_init) easyInit = nullptr;
  decltype(&curl_easy_setopt) easySetopt = nullptr;
  decltype(&curl_easy_perform) easyPerform = nullptr;
  decltype(&curl_easy_getinfo) easyGetinfo = nullptr;
  decltype(&curl_easy_cleanup) easyCleanup = nullptr;
  decltype(&curl_slist_append) slistAppend = nullptr;
  decltype(&curl_slist_free_all) slistFreeAll = nullptr;
};

// Loaded on first use, once. Nothing when it is missing or incomplete.
const Curl* LoadCurl() {
  static const std::unique_ptr<const Curl> curl = []() -> std::unique_ptr<const Curl> {
    auto c = std::make_unique<Curl>();
    c->library = SharedLibrary::OpenFirst({"libcurl.so.4", "libcurl-gnutls.so.4"});
    const SharedLibrary* l = c->library.get();
    const bool complete = l != nullptr && l->Bind(c->globalInit, "curl_global_init") &&
                          l->Bind(c->easyInit, "curl_easy_init") && l->Bind(c->easySetopt, "curl_easy_setopt") &&
                          l->Bind(c->easyPerform, "curl_easy_perform") &&
                          l->Bind(c->easyGetinfo, "curl_easy_getinfo") &&
                          l->Bind(c->easyCleanup, "curl_easy_cleanup") &&
                          l->Bind(c->slistAppend, "curl_slist_append") &&
                          l->Bind(c->slistFreeAll, "curl_slist_free_all");
    if (!complete || c->globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) return nullptr;
    return c;
  }();
  return curl.get();
}

// State the transfer callbacks share with the caller.
struct Transfer {
  std::string body;
  std::size_t maxBody = 0;
  std::chrono::milliseconds sendTimeout{};
  std::chrono::milliseconds receiveTimeout{};
  curl_off_t lastSent = -1;
  curl_off_t lastReceived = -1;
  Clock::time_point lastProgress = Clock::now();
};

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto& transfer = *static_cast<Transfer*>(user);
  const std::size_t bytes = size * count;
  if (bytes > transfer.maxBody - transfer.body.size()) return 0;
  transfer.body.append(data, bytes);
  return bytes;
}

// libcurl has one overall limit only; the send and receive limits are stall
// limits measured from the last byte that moved, as the per-phase time-outs
// of other platform clients are.
int OnProgress(void* user, curl_off_t, curl_off_t received, curl_off_t uploadTotal,
               curl_off_t sent) {
  auto& transfer = *static_cast<Transfer*>(user);
  const Clock::time_point now = Clock::now();
  if (sent != transfer.lastSent || received != transfer.lastReceived) {
    transfer.lastSent = sent;
    transfer.lastReceived = received;
    transfer.lastProgress = now;
    return 0;
  }
  const bool sending = sent < uploadTotal;
  const auto limit = sending ? transfer.sendTimeout : transfer.receiveTimeout;
  return now - transfer.lastProgress > limit ? 1 : 0;
}

}  // namespace

std::optional<HttpsResponse> HttpsPost(const HttpsPostRequest& request) {
  const Curl* curl = LoadCurl();
  if (curl == nullptr) return std::nullopt;
  const std::unique_ptr<CURL, decltype(curl->easyCleanup)> easy(curl->easyInit(), curl->easyCleanup);
  if (!easy) return std::nullopt;

  std::unique_ptr<curl_slist, decltype(curl->slistFreeAll)> headers(nullptr, curl->slistFreeAll);
  for (const auto& [name, value] : request.headers) {
    const std::string line = name + ": " + value;
    curl_slist* extended = curl->slistAppend(headers.get(), line.c_str());
    if (extended == nullptr) return std::nullopt;
    // Appending keeps the head of a list that already exists.
    if (!headers) headers.reset(extended);
  }

  Transfer transfer;
  transfer.maxBody = request.maxResponseBytes;
  transfer.sendTimeout = request.sendTimeout;
  transfer.receiveTimeout = request.receiveTimeout;

  CURL* h = easy.get();
  bool ok = curl->easySetopt(h, CURLOPT_URL, request.url.c_str()) == CURLE_OK &&
            curl->easySetopt(h, CURLOPT_PROTOCOLS_STR, "https") == CURLE_OK &&
            curl->easySetopt(h, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
            curl->easySetopt(h, CURLOPT_POST, 1L) == CURLE_OK &&
            curl->easySetopt(h, CURLOPT_POSTFIELDS, request.body.data()) == CURLE_OK &&
            curl->easySetopt(h, CURLOPT_POSTFIELDSIZE_LARGE,
                             static_cast<curl_off_t>(request.body.size())) == CURLE_OK &&
            curl->easySetopt(h, CURLOPT_USERAGENT, request.userAgent.c_str()) == CURLE_OK &&
            curl->easySetopt(h, CURLOPT_HTTPHEADER, headers.get()) == CURLE_OK &&
            curl->easySetopt(h, CURLOPT_CONNECTTIMEOUT_MS,
                             static_cast<long>(request.connectTimeout.count())) == CURLE_OK &&
            curl->easySetopt(h, CURLOPT_WRITEFUNCTION, &OnBody) == CURLE_OK &&
            curl->easySetopt(h, CURLOPT_WRITEDATA, &transfer) == CURLE_OK &&
            curl->easySetopt(h, CURLOPT_XFERINFOFUNCTION, &OnProgress) == CURLE_OK &&
            curl->easySetopt(h, CURLOPT_XFERINFODATA, &transfer) == CURLE_OK &&
            curl->easySetopt(h, CURLOPT_NOPROGRESS, 0L) == CURLE_OK;
  if (ok && !request.caFile.empty())
    ok = curl->easySetopt(h, CURLOPT_CAINFO, request.caFile.c_str()) == CURLE_OK;
  if (!ok || curl->easyPerform(h) != CURLE_OK) return std::nullopt;

  long status = 0;
  if (curl->easyGetinfo(h, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK) return std::nullopt;
  return HttpsResponse{status, std::move(transfer.body)};
}

}  // namespace ostrel::platform
