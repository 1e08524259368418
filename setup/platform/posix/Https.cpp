#include "setup/platform/Https.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace ostrel::platform {
namespace {

using Clock = std::chrono::steady_clock;

struct EasyDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct HeaderListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

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

bool GlobalInit() {
  static std::once_flag once;
  static bool ok = false;
  std::call_once(once, [] { ok = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
  return ok;
}

}  // namespace

std::optional<HttpsResponse> HttpsPost(const HttpsPostRequest& request) {
  if (!GlobalInit()) return std::nullopt;
  const std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
  if (!easy) return std::nullopt;

  std::unique_ptr<curl_slist, HeaderListDeleter> headers;
  for (const auto& [name, value] : request.headers) {
    const std::string line = name + ": " + value;
    curl_slist* extended = curl_slist_append(headers.get(), line.c_str());
    if (extended == nullptr) return std::nullopt;
    // Appending keeps the head of a list that already exists.
    if (!headers) headers.reset(extended);
  }

  Transfer transfer;
  transfer.maxBody = request.maxResponseBytes;
  transfer.sendTimeout = request.sendTimeout;
  transfer.receiveTimeout = request.receiveTimeout;

  CURL* h = easy.get();
  bool ok = curl_easy_setopt(h, CURLOPT_URL, request.url.c_str()) == CURLE_OK &&
            curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "https") == CURLE_OK &&
            curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
            curl_easy_setopt(h, CURLOPT_POST, 1L) == CURLE_OK &&
            curl_easy_setopt(h, CURLOPT_POSTFIELDS, request.body.data()) == CURLE_OK &&
            curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE,
                             static_cast<curl_off_t>(request.body.size())) == CURLE_OK &&
            curl_easy_setopt(h, CURLOPT_USERAGENT, request.userAgent.c_str()) == CURLE_OK &&
            curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get()) == CURLE_OK &&
            curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS,
                             static_cast<long>(request.connectTimeout.count())) == CURLE_OK &&
            curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &OnBody) == CURLE_OK &&
            curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer) == CURLE_OK &&
            curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &OnProgress) == CURLE_OK &&
            curl_easy_setopt(h, CURLOPT_XFERINFODATA, &transfer) == CURLE_OK &&
            curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L) == CURLE_OK;
  if (ok && !request.caFile.empty())
    ok = curl_easy_setopt(h, CURLOPT_CAINFO, request.caFile.c_str()) == CURLE_OK;
  if (!ok || curl_easy_perform(h) != CURLE_OK) return std::nullopt;

  long status = 0;
  if (curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK) return std::nullopt;
  return HttpsResponse{status, std::move(transfer.body)};
}

}  // namespace ostrel::platform
