// scripts/run.sh, the README's main command: telling, and harmless to the
// home of whoever runs it.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "setup/platform/ProcessRunner.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;

struct ScriptRun {
  bool started = false;
  std::uint32_t exitCode = 0;
  std::string output;  // standard output and standard error together
};

// The script with exactly this environment and no display variable at all.
ScriptRun RunScript(const std::vector<std::string>& environment, const std::vector<std::string>& args) {
  ostrel::platform::ProcessRequest request;
  request.arguments = {"/usr/bin/env", "-i", "PATH=/usr/bin:/bin", "LANG=C.UTF-8"};
  request.arguments.insert(request.arguments.end(), environment.begin(), environment.end());
  request.arguments.push_back(std::string(OSTREL_SOURCE_DIR) + "/scripts/run.sh");
  request.arguments.insert(request.arguments.end(), args.begin(), args.end());
  request.timeLimitSeconds = 240;
  const auto outcome = ostrel::platform::RunCapturedProcess(request);
  return {outcome.started, outcome.exitCode,
          std::string(reinterpret_cast<const char*>(outcome.output.data()), outcome.output.size())};
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

bool AnyProcessRunsFrom(const fs::path& folder) {
  for (const auto& entry : fs::directory_iterator("/proc")) {
    std::error_code error;
    const fs::path exe = fs::read_symlink(entry.path() / "exe", error);
    if (!error && exe.string().starts_with(folder.string() + "/")) return true;
  }
  return false;
}

// What a user asks for first is answered at once, without installing
// packages, building, or opening any window.
TEST(RunScript, HelpAndVersionAnswerWithoutBuildingOrRunning) {
  const TempDir dir("ostrel-run");
  const std::vector<std::string> environment = {"HOME=" + (dir.Path() / "home").string(),
                                                "OSTREL_SETUP=/nonexistent/OstrelSetup",
                                                "OSTREL_DEMO_HOME=" + (dir.Path() / "demo").string()};
  const ScriptRun help = RunScript(environment, {"--help"});
  ASSERT_TRUE(help.started);
  EXPECT_EQ(help.exitCode, 0u);
  EXPECT_TRUE(help.output.starts_with("Usage: scripts/run.sh")) << help.output;
  EXPECT_NE(help.output.find("--for-real"), std::string::npos);

  const ScriptRun version = RunScript(environment, {"--version"});
  EXPECT_EQ(version.exitCode, 0u);
  EXPECT_EQ(version.output, "OstrelSetup 2.0\n");
  EXPECT_TRUE(fs::is_empty(dir.Path())) << "nothing was made";
}

// Without a display the script installs into the demonstration home and says
// what went where, with a screenshot of the window, and nothing reaches the
// user's own home; the product it started does not stay behind.
TEST(RunScript, WithoutADisplayItInstallsIntoTheDemonstrationHomeAndSaysWhere) {
  const TempDir dir("ostrel-run");
  const fs::path home = dir.Path() / "your home";
  const fs::path demo = dir.Path() / "demo";
  fs::create_directories(home);
  const ScriptRun run = RunScript({"HOME=" + home.string(), "OSTREL_SETUP=" + std::string(OSTREL_PACKED_SETUP),
                                   "OSTREL_DEMO_HOME=" + demo.string()},
                                  {});
  ASSERT_TRUE(run.started);
  EXPECT_EQ(run.exitCode, 0u) << run.output;

  const fs::path folder = demo / "home" / ".local" / "share" / "Ostrel";
  EXPECT_TRUE(fs::exists(folder / "Ostrel"));
  EXPECT_TRUE(fs::exists(folder / "Uninstall"));
  const std::vector<std::string> told = {
      "  folder:      " + folder.string() + "\n",
      "  entry:       ",
      "UninstallString = " + (folder / "Uninstall").string() + "\n",
      "  shortcuts:   " + (demo / "home" / "Desktop" / "Ostrel.desktop").string(),
  };
  for (const std::string& said : told) {
    EXPECT_NE(run.output.find(said), std::string::npos) << said << "\n" << run.output;
  }
  EXPECT_TRUE(ReadBytes(demo / "setup-window.png").starts_with("\x89PNG")) << "no screenshot of the window";
  EXPECT_TRUE(fs::is_empty(home)) << "the user's own home was touched";
  EXPECT_FALSE(AnyProcessRunsFrom(demo)) << "the demo product stayed behind";
}

}  // namespace
