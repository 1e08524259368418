#include "setup/platform/Https.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "tests/setup/support/ReportServer.h"

namespace ostrel::platform {
namespace {

class HttpsPostTest : public ::testing::Test {
 protected:
  static std::filesystem::path Folder() {
    return std::filesystem::temp_directory_path() / ("ostrel-https-" + std::to_string(::getpid()));
  }
  static void TearDownTestSuite() { std::filesystem::remove_all(Folder()); }

  static HttpsPostRequest To(const test::ReportServer& server) {
    HttpsPostRequest request;
    request.url = server.BaseUrl() + "/echo/";
    request.body = "{}";
    request.userAgent = "agent";
    request.headers = {{"Content-Type", "application/json"}, {"X-Extra", "1"}};
    request.caFile = server.CaFile().string();
    return request;
  }
};

TEST_F(HttpsPostTest, DeliversBodyAndHeadersAndReturnsTheAnswer) {
  const test::ReportServer server(Folder(), {418, "short and stout", 0});
  const std::optional<HttpsResponse> response = HttpsPost(To(server));
  ASSERT_TRUE(response);
  EXPECT_EQ(response->status, 418);
  EXPECT_EQ(response->body, "short and stout");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0]["body"], "{}");
  EXPECT_EQ(requests[0]["headers"]["User-Agent"], "agent");
  EXPECT_EQ(requests[0]["headers"]["X-Extra"], "1");
}

TEST_F(HttpsPostTest, AnAnswerThatStallsFailsAfterTheReceiveTimeout) {
  const test::ReportServer server(Folder(), {200, "{}", 5});
  HttpsPostRequest request = To(server);
  request.receiveTimeout = std::chrono::milliseconds(300);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(HttpsPost(request));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
}

TEST_F(HttpsPostTest, AnOversizedAnswerFails) {
  const test::ReportServer server(Folder(), {200, std::string(100, 'x'), 0});
  HttpsPostRequest request = To(server);
  request.maxResponseBytes = 99;
  EXPECT_FALSE(HttpsPost(request));
  request.maxResponseBytes = 100;
  EXPECT_TRUE(HttpsPost(request));
}

TEST_F(HttpsPostTest, OnlyHttpsIsSpoken) {
  const test::ReportServer server(Folder(), {200, "{}", 0});
  HttpsPostRequest request = To(server);
  request.url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/";
  EXPECT_FALSE(HttpsPost(request));
}

}  // namespace
}  // namespace ostrel::platform
