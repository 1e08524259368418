#pragma once
// One HTTPS POST with its own client, time-outs and headers, blocking the
// calling thread until the answer is in or the exchange failed.

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ostrel::platform {

struct HttpsPostRequest {
  std::string url;
  std::string body;
  std::string userAgent;
  std::vector<std::pair<std::string, std::string>> headers;
  // Connecting, including the TLS handshake.
  std::chrono::milliseconds connectTimeout{15000};
  // The longest the upload may stall.
  std::chrono::milliseconds sendTimeout{30000};
  // The longest the answer may stall once the request is sent.
  std::chrono::milliseconds receiveTimeout{60000};
  // A PEM file of certificate authorities that replaces the system's trust
  // store; empty keeps the system's. Verification is never switched off.
  std::string caFile;
  // Answers longer than this count as a failure.
  std::size_t maxResponseBytes = 1 << 20;
};

struct HttpsResponse {
  long status = 0;
  std::string body;
};

// nullopt on any failure below HTTP: bad address, no connection, TLS,
// time-out, an oversized answer.
std::optional<HttpsResponse> HttpsPost(const HttpsPostRequest& request);

}  // namespace ostrel::platform
