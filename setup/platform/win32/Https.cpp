#include "setup/platform/Https.h"

#include <windows.h>
#include <winhttp.h>

#include <array>
#include <climits>

#include "setup/platform/win32/WideText.h"

namespace ostrel::platform {
namespace {

class Internet {
 public:
  explicit Internet(HINTERNET handle) : handle_(handle) {}
  Internet(const Internet&) = delete;
  Internet& operator=(const Internet&) = delete;
  ~Internet() {
    if (handle_ != nullptr) ::WinHttpCloseHandle(handle_);
  }
  HINTERNET Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HINTERNET handle_;
};

int Milliseconds(std::chrono::milliseconds value) {
  return value.count() > INT_MAX ? INT_MAX : static_cast<int>(value.count());
}

struct Target {
  std::wstring host;
  std::wstring pathAndQuery;
  INTERNET_PORT port = 0;
};

// Only https addresses: the report never goes out in the clear.
std::optional<Target> CrackHttpsUrl(const std::wstring& url) {
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!::WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) return std::nullopt;
  if (parts.nScheme != INTERNET_SCHEME_HTTPS || parts.dwHostNameLength == 0) return std::nullopt;
  Target target;
  target.host.assign(parts.lpszHostName, parts.dwHostNameLength);
  target.pathAndQuery.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
  target.pathAndQuery.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (target.pathAndQuery.empty()) target.pathAndQuery = L"/";
  target.port = parts.nPort;
  return target;
}

}  // namespace

std::optional<HttpsResponse> HttpsPost(const HttpsPostRequest& request) {
  // A replaced trust store is how tests reach a local server elsewhere; the
  // system's client trusts the system's store only, so such a request is
  // refused rather than sent with looser checks.
  if (!request.caFile.empty()) return std::nullopt;
  const auto url = win32::ToWide(request.url);
  const auto agent = win32::ToWide(request.userAgent);
  if (!url || !agent || request.body.size() > MAXDWORD) return std::nullopt;
  const auto target = CrackHttpsUrl(*url);
  if (!target) return std::nullopt;

  std::wstring headers;
  for (const auto& [name, value] : request.headers) {
    const auto wideName = win32::ToWide(name);
    const auto wideValue = win32::ToWide(value);
    if (!wideName || !wideValue) return std::nullopt;
    headers += *wideName + L": " + *wideValue + L"\r\n";
  }

  const Internet session(::WinHttpOpen(agent->c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                       WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) return std::nullopt;
  // Name resolution has no limit of its own, as in the system's default.
  if (!::WinHttpSetTimeouts(session.Get(), 0, Milliseconds(request.connectTimeout), Milliseconds(request.sendTimeout),
                            Milliseconds(request.receiveTimeout))) {
    return std::nullopt;
  }
  const Internet connection(::WinHttpConnect(session.Get(), target->host.c_str(), target->port, 0));
  if (!connection) return std::nullopt;
  const Internet call(::WinHttpOpenRequest(connection.Get(), L"POST", target->pathAndQuery.c_str(), nullptr,
                                           WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, WINHTTP_FLAG_SECURE));
  if (!call) return std::nullopt;

  auto* body = const_cast<char*>(request.body.data());
  const auto bodySize = static_cast<DWORD>(request.body.size());
  if (!::WinHttpSendRequest(call.Get(), headers.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : headers.c_str(),
                            headers.empty() ? 0 : static_cast<DWORD>(-1L), body, bodySize, bodySize, 0) ||
      !::WinHttpReceiveResponse(call.Get(), nullptr)) {
    return std::nullopt;
  }

  DWORD status = 0;
  DWORD statusSize = sizeof status;
  if (!::WinHttpQueryHeaders(call.Get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &statusSize, WINHTTP_NO_HEADER_INDEX)) {
    return std::nullopt;
  }

  HttpsResponse response;
  response.status = static_cast<long>(status);
  std::array<char, 8192> buffer{};
  for (;;) {
    DWORD got = 0;
    if (!::WinHttpReadData(call.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got)) return std::nullopt;
    if (got == 0) break;
    if (got > request.maxResponseBytes - response.body.size()) return std::nullopt;
    response.body.append(buffer.data(), got);
  }
  return response;
}

}  // namespace ostrel::platform
