#include "setup/core/Report.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "setup/core/SetupState.h"
#include "setup/core/TaskRunner.h"
#include "setup/platform/System.h"
#include "tests/setup/support/ReportServer.h"

namespace ostrel::setup {
namespace {

const ReportInputs kInputs{"", "w\xC3\xA9" "b/1", "{01234567-89AB-CDEF-0123-456789ABCDEF}", "2.0"};

TEST(ReportBodyTest, IsExactForAFixedInput) {
  // The signature is SHA-1 of the UTF-8 bytes "wéb/1{0123…}2.01700000000Zq4vTe".
  const std::string expected =
      R"({"lang":"","fl":"w\u00E9b\/1","uuid":"{01234567-89AB-CDEF-0123-456789ABCDEF}",)"
      R"("version":"2.0","ts":1700000000,"hash":"66252ca8f100c7f1c5e15b9de948855220391d8b"})";
  EXPECT_EQ(SerializeReportJson(BuildReportRequest(kInputs, 1700000000)), expected);
}

TEST(ReportBodyTest, SignatureRunsTheValuesTogetherWithoutSeparators) {
  const ReportInputs web{"", "web", "{01234567-89AB-CDEF-0123-456789ABCDEF}", "2.0"};
  EXPECT_EQ(ReportSignature(web, 1700000000), "0b6e61a6177ea1f52d0dbf09f10152be59b1ff96");
  // The empty language adds nothing, so moving text between the parts
  // leaves the signed text, and the signature, the same.
  const ReportInputs shifted{"we", "b", "{01234567-89AB-CDEF-0123-456789ABCDEF}", "2.0"};
  EXPECT_EQ(ReportSignature(shifted, 1700000000), ReportSignature(web, 1700000000));
  EXPECT_NE(ReportSignature(web, 1700000001), ReportSignature(web, 1700000000));
}

struct EscapeCase {
  std::string text;
  std::string json;
};

TEST(ReportBodyTest, EscapesStringsToPlainAscii) {
  const EscapeCase cases[] = {
      {"plain text 0-9 ~", R"("plain text 0-9 ~")"},
      {"\"\\/", R"("\"\\\/")"},
      {"\b\t\n\f\r", R"("\b\t\n\f\r")"},
      {std::string("\x00\x01\x1F", 3), R"("\u0000\u0001\u001F")"},
      {"\x7F", "\"\x7F\""},
      {"\xC2\x80\xC3\xA9\xE2\x82\xAC", R"("\u0080\u00E9\u20AC")"},
      {"\xE4\xB8\xAD\xE6\x96\x87", R"("\u4E2D\u6587")"},
      {"\xF0\x9F\x98\x80", R"("\uD83D\uDE00")"},
  };
  for (const EscapeCase& c : cases) {
    nlohmann::ordered_json value = nlohmann::ordered_json::object();
    value[c.text] = c.text;
    EXPECT_EQ(SerializeReportJson(value), "{" + c.json + ":" + c.json + "}") << c.json;
  }
}

TEST(ReportBodyTest, RejectsTextThatIsNotUtf8) {
  EXPECT_THROW(SerializeReportJson(nlohmann::ordered_json("\xFF")), std::invalid_argument);
}

TEST(ReportBodyTest, KeepsMemberOrderAndNestedValues) {
  nlohmann::ordered_json value = nlohmann::ordered_json::object();
  value["z"] = 1;
  value["a"] = nlohmann::ordered_json::array({true, nullptr, -2, "x"});
  value["m"] = nlohmann::ordered_json::object();
  EXPECT_EQ(SerializeReportJson(value), R"({"z":1,"a":[true,null,-2,"x"],"m":{}})");
}

TEST(ReportEndpointTest, NamesTheThreePaths) {
  EXPECT_EQ(ReportEndpoint(ReportKind::Install), "/stat/install/");
  EXPECT_EQ(ReportEndpoint(ReportKind::Update), "/stat/updateinstall/");
  EXPECT_EQ(ReportEndpoint(ReportKind::Uninstall), "/stat/uninstall/");
}

struct AnswerCase {
  long status;
  std::string body;
  int result;
};

TEST(StatusFromResponseTest, GivesTheStatusOnlyForAJsonObject) {
  const AnswerCase cases[] = {
      {200, "", 0},
      {200, "OK", 0},
      {200, "[1,2]", 0},
      {200, "\"text\"", 0},
      {200, "{\"a\":1", 0},
      {200, "{\"a\":\"\xFF\"}", 0},
      {500, R"({"error":"down"})", 500},
      {201, " {} ", 201},
      {404, "\xEF\xBB\xBF{}", 404},
  };
  for (const AnswerCase& c : cases) {
    nlohmann::json response = nlohmann::json::object();
    EXPECT_EQ(StatusFromResponse(c.status, c.body, response), c.result) << c.body;
    if (c.result == 0) {
      EXPECT_EQ(response, nlohmann::json::object()) << c.body;
    }
  }
  nlohmann::json response = nlohmann::json::object();
  StatusFromResponse(500, R"({"error":"down"})", response);
  EXPECT_EQ(response["error"], "down");
}

// Against the local HTTPS server, with its certificate trusted only through
// the test settings.
class ReportServerTest : public ::testing::Test {
 protected:
  static std::filesystem::path Folder() {
    return std::filesystem::temp_directory_path() /
           ("ostrel-report-" + std::to_string(::getpid()));
  }
  static void TearDownTestSuite() { std::filesystem::remove_all(Folder()); }

  void TrustLocalServer(const test::ReportServer& server) {
    ::setenv("OSTREL_STAT_BASE", server.BaseUrl().c_str(), 1);
    ::setenv("OSTREL_STAT_CA_FILE", server.CaFile().c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("OSTREL_STAT_BASE");
    ::unsetenv("OSTREL_STAT_CA_FILE");
  }

  int Post(const test::ReportServer& server, nlohmann::json& response) {
    return PostJson(server.BaseUrl() + "/stat/install/",
                    BuildReportRequest(kInputs, 1700000000), response);
  }
};

TEST_F(ReportServerTest, StatusFollowsTheAnswer) {
  const struct {
    test::ReportServer::Answer answer;
    int status;
  } cases[] = {{{200, "", 0}, 0}, {{500, R"({"error":"down"})", 0}, 500}, {{200, "{}", 0}, 200}};
  for (const auto& c : cases) {
    const test::ReportServer server(Folder(), c.answer);
    TrustLocalServer(server);
    nlohmann::json response = nlohmann::json::object();
    EXPECT_EQ(Post(server, response), c.status) << c.answer.status << " " << c.answer.body;
    EXPECT_EQ(server.Requests().size(), 1u);
  }
}

TEST_F(ReportServerTest, UntrustedCertificateFailsQuietly) {
  const test::ReportServer server(Folder(), {200, "{}", 0});
  nlohmann::json response = nlohmann::json::object();
  EXPECT_EQ(Post(server, response), 0);
  // The trust file counts only for the overridden base address.
  ::setenv("OSTREL_STAT_BASE", "https://127.0.0.1:1", 1);
  ::setenv("OSTREL_STAT_CA_FILE", server.CaFile().c_str(), 1);
  EXPECT_EQ(Post(server, response), 0);
  EXPECT_TRUE(server.Requests().empty());
}

TEST_F(ReportServerTest, NoServerGivesZero) {
  // A port that was free a moment ago: nothing listens there.
  const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  socklen_t length = sizeof address;
  ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(probe);
  nlohmann::json response = nlohmann::json::object();
  EXPECT_EQ(PostJson("https://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/stat/install/",
                     BuildReportRequest(kInputs, 1), response),
            0);
  EXPECT_EQ(PostJson("not a url", BuildReportRequest(kInputs, 1), response), 0);
}

TEST_F(ReportServerTest, SendReportPostsTheSignedBodyWithItsHeaders) {
  const test::ReportServer server(Folder(), {200, "{}", 0});
  TrustLocalServer(server);
  SendReport(ReportKind::Update, kInputs);
  SendReport(ReportKind::Uninstall, {"", "", "", ""});
  // A stray byte (a POSIX file name may hold one) costs that character, not the report.
  SendReport(ReportKind::Install, {"", "tag\xFF", "", ""});

  const std::vector<nlohmann::json> requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  const nlohmann::json& update = requests[0];
  EXPECT_EQ(update["method"], "POST");
  EXPECT_EQ(update["path"], "/stat/updateinstall/");
  EXPECT_EQ(update["headers"]["User-Agent"],
            "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) Ostrel");
  EXPECT_EQ(update["headers"]["Content-Type"], "application/json;charset=UTF-8");

  const std::string body = update["body"];
  EXPECT_TRUE(std::all_of(body.begin(), body.end(),
                          [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
  const nlohmann::ordered_json sent = nlohmann::ordered_json::parse(body);
  std::vector<std::string> names;
  for (const auto& [name, value] : sent.items()) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"lang", "fl", "uuid", "version", "ts", "hash"}));
  EXPECT_EQ(sent["fl"], kInputs.ChannelTag);
  const std::int64_t ts = sent["ts"];
  EXPECT_EQ(body, SerializeReportJson(BuildReportRequest(kInputs, ts)));

  EXPECT_EQ(requests[1]["path"], "/stat/uninstall/");
  EXPECT_EQ(nlohmann::json::parse(std::string(requests[1]["body"]))["lang"], "");
  EXPECT_NE(std::string(requests[2]["body"]).find(R"("fl":"tag\uFFFD")"), std::string::npos);
}

TEST_F(ReportServerTest, SendReportReadsTheProcessWideStrings) {
  const test::ReportServer server(Folder(), {200, "{}", 0});
  TrustLocalServer(server);
  SetupState& state = SetupState::Process();
  state.SetChannelTag("web");
  state.SetInstallId("{00000000-0000-0000-0000-000000000001}");
  state.SetVersionText("2.0");
  state.SetInstallPath("/not/in/the/report");
  // Three hours ahead of UTC: the stamp runs ahead of Unix time by as much.
  ::setenv("TZ", "XYZ-3", 1);
  ::tzset();
  const std::int64_t before = std::time(nullptr);
  SendReport(ReportKind::Install);
  const std::int64_t after = std::time(nullptr);
  ::unsetenv("TZ");
  ::tzset();

  const std::vector<nlohmann::json> requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0]["path"], "/stat/install/");
  const nlohmann::json sent = nlohmann::json::parse(std::string(requests[0]["body"]));
  EXPECT_EQ(sent["lang"], "");
  EXPECT_EQ(sent["fl"], "web");
  EXPECT_EQ(sent["uuid"], "{00000000-0000-0000-0000-000000000001}");
  EXPECT_EQ(sent["version"], "2.0");
  EXPECT_EQ(sent.size(), 6u);
  const std::int64_t ts = sent["ts"];
  EXPECT_GE(ts, before + 3 * 3600);
  EXPECT_LE(ts, after + 3 * 3600);
}

// The report runs on a thread of its own, begins when its start says so, and
// says when it is done.
TEST_F(ReportServerTest, StartedReportGivesWayAndSaysWhenItIsDone) {
  const test::ReportServer server(Folder(), {200, "{}", 0});
  TrustLocalServer(server);
  class OwnThreads final : public ITaskRunner {
   public:
    int posted = 0;
    std::vector<std::thread> threads;
    void Post(std::function<void()>) override { ++posted; }
    void CallOnUiThread(const std::function<void()>& fn) override { fn(); }
    void StartThread(std::function<void()> work) override { threads.emplace_back(std::move(work)); }
  } tasks;
  const std::shared_future<void> done = StartReport(tasks, ReportKind::Update);
  ASSERT_EQ(tasks.threads.size(), 1u);
  EXPECT_EQ(tasks.posted, 0) << "not on the shared pool";
  EXPECT_EQ(done.wait_for(std::chrono::seconds(30)), std::future_status::ready);
  for (std::thread& thread : tasks.threads) thread.join();
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0]["path"], "/stat/updateinstall/");

  // Held back, it goes once its start is ready.
  std::promise<void> start;
  const std::shared_future<void> held = StartReport(tasks, ReportKind::Install, start.get_future().share());
  EXPECT_EQ(held.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout);
  EXPECT_EQ(server.Requests().size(), 1u) << "nothing sent before its start";
  start.set_value();
  EXPECT_EQ(held.wait_for(std::chrono::seconds(30)), std::future_status::ready);
  for (std::thread& thread : tasks.threads) {
    if (thread.joinable()) thread.join();
  }
  ASSERT_EQ(server.Requests().size(), 2u);
  EXPECT_EQ(server.Requests()[1]["path"], "/stat/install/");
}

}  // namespace
}  // namespace ostrel::setup
