#include "setup/platform/Removal.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include "setup/core/Runner.h"
#include "setup/platform/SelfDelete.h"
#include "setup/platform/StopByName.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;
namespace platform = ostrel::platform;

class RemovalTest : public ::testing::Test {
 protected:
  RemovalTest() {
    std::string pattern = (fs::temp_directory_path() / "ostrel-removal-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data());
    fs::create_directories(Base());
    fs::create_directories(Outside());
  }
  ~RemovalTest() override {
    std::error_code ignored;
    fs::permissions(root_, fs::perms::owner_all, ignored);
    fs::remove_all(root_, ignored);
  }

  fs::path Base() const { return root_ / "install"; }
  fs::path Outside() const { return root_ / "elsewhere"; }
  std::string BaseText() const { return Base().string(); }

  static void Touch(const fs::path& path) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "x";
  }

  fs::path root_;
};

TEST_F(RemovalTest, DeleteFileRemovesFilesAndLinksButNeverFolders) {
  Touch(Base() / "osd");
  fs::create_directory(Base() / "os-trel");
  Touch(Outside() / "target");
  fs::create_symlink(Outside() / "target", Base() / "Ostrel");

  EXPECT_TRUE(platform::DeleteFileBelow(BaseText(), "osd"));
  EXPECT_FALSE(fs::exists(Base() / "osd"));
  EXPECT_FALSE(platform::DeleteFileBelow(BaseText(), "os-trel"));
  EXPECT_TRUE(fs::is_directory(Base() / "os-trel"));
  EXPECT_TRUE(platform::DeleteFileBelow(BaseText(), "Ostrel"));
  EXPECT_FALSE(fs::is_symlink(Base() / "Ostrel"));
  EXPECT_TRUE(fs::exists(Outside() / "target")) << "the link's target was removed";
  EXPECT_FALSE(platform::DeleteFileBelow(BaseText(), "missing"));
}

// A "lang" that is a link out of the install folder must not let the
// language packs reached through it be deleted.
TEST_F(RemovalTest, NoLinkIsFollowedOnTheWayToAnItem) {
  Touch(Outside() / "日本語.lang");
  fs::create_directory_symlink(Outside(), Base() / "lang");

  EXPECT_FALSE(platform::DeleteFileBelow(BaseText(), "lang/日本語.lang"));
  EXPECT_TRUE(fs::exists(Outside() / "日本語.lang"));
  EXPECT_FALSE(platform::RemoveEmptyFolderBelow(BaseText(), "lang"));
  EXPECT_TRUE(fs::is_symlink(Base() / "lang"));
}

// Links planted in the install folder in the place of the product's folders
// would have the extractor write elsewhere; they go before it runs, with
// nothing they lead to. Nothing else is looked at: the folder may be one the
// user chose, holding links of their own.
TEST_F(RemovalTest, NamedFolderLinksGoAndEverythingElseStays) {
  Touch(Outside() / "kept.txt");
  Touch(Base() / "lang" / "mine.lang");
  fs::create_directory_symlink(Outside(), Base() / "wizard");
  fs::create_symlink(root_ / "not-yet", Base() / "driver");
  fs::create_directory_symlink(Outside(), Base() / "lang" / "nested");
  fs::create_directory_symlink(Outside(), Base() / "projects");
  fs::create_symlink(Outside() / "kept.txt", Base() / "notes.txt");

  const std::string_view names[] = {"lang", "wizard", "driver", "notes.txt", "../elsewhere"};
  EXPECT_TRUE(platform::RemoveFolderLinksBelow(BaseText(), names));
  EXPECT_FALSE(fs::is_symlink(Base() / "wizard"));
  EXPECT_FALSE(fs::is_symlink(Base() / "driver"));
  EXPECT_TRUE(fs::is_directory(Base() / "lang")) << "a real folder stays";
  EXPECT_TRUE(fs::is_symlink(Base() / "lang" / "nested")) << "only the named entries are looked at";
  EXPECT_TRUE(fs::is_symlink(Base() / "projects")) << "the user's own link stays";
  EXPECT_TRUE(fs::is_symlink(Base() / "notes.txt")) << "a link to a file stays";
  EXPECT_TRUE(fs::exists(Outside() / "kept.txt"));
  EXPECT_TRUE(fs::is_directory(Outside()));
  EXPECT_FALSE(platform::RemoveFolderLinksBelow((root_ / "missing").string(), names));
}

TEST_F(RemovalTest, RefusesNamesThatLeaveTheBase) {
  Touch(root_ / "victim");
  for (const std::string relative : {"", "../victim", "./../victim", "lang//x", "/victim"}) {
    EXPECT_FALSE(platform::DeleteFileBelow(BaseText(), relative)) << relative;
    EXPECT_FALSE(platform::RemoveFolderTreeBelow(BaseText(), relative)) << relative;
  }
  EXPECT_TRUE(fs::exists(root_ / "victim"));
  EXPECT_FALSE(platform::DeleteFileBelow("", "victim"));
}

TEST_F(RemovalTest, EmptyFolderIsRemovedOnlyWhenEmpty) {
  fs::create_directories(Base() / "lang");
  Touch(Base() / "lang" / "mine.lang");
  EXPECT_FALSE(platform::RemoveEmptyFolderBelow(BaseText(), "lang"));
  EXPECT_TRUE(fs::exists(Base() / "lang" / "mine.lang"));

  fs::remove(Base() / "lang" / "mine.lang");
  EXPECT_TRUE(platform::RemoveEmptyFolderBelow(BaseText(), "lang"));
  EXPECT_FALSE(fs::exists(Base() / "lang"));
  EXPECT_FALSE(platform::RemoveEmptyFolderBelow(BaseText(), "lang"));
}

TEST_F(RemovalTest, TreeGoesWithItsContentsButNotWhatItsLinksPointAt) {
  Touch(Base() / "wizard" / "wizard.dat");
  Touch(Base() / "wizard" / "deep" / "er" / "user file");
  Touch(Outside() / "keep" / "precious");
  fs::create_directory_symlink(Outside() / "keep", Base() / "wizard" / "deep" / "link-to-folder");
  fs::create_symlink(Outside() / "keep" / "precious", Base() / "wizard" / "link-to-file");

  EXPECT_TRUE(platform::RemoveFolderTreeBelow(BaseText(), "wizard"));
  EXPECT_FALSE(fs::exists(fs::symlink_status(Base() / "wizard")));
  EXPECT_TRUE(fs::exists(Outside() / "keep" / "precious"));
}

TEST_F(RemovalTest, TreeThatIsALinkLosesTheLinkOnly) {
  Touch(Outside() / "driver.inf");
  fs::create_directory_symlink(Outside(), Base() / "driver");
  Touch(Base() / "wizard");

  EXPECT_TRUE(platform::RemoveFolderTreeBelow(BaseText(), "driver"));
  EXPECT_FALSE(fs::exists(fs::symlink_status(Base() / "driver")));
  EXPECT_TRUE(fs::exists(Outside() / "driver.inf"));

  EXPECT_FALSE(platform::RemoveFolderTreeBelow(BaseText(), "wizard")) << "a file is not a folder";
  EXPECT_TRUE(fs::exists(Base() / "wizard"));
}

// The path never enters the file: the interpreter would read it in the
// console's code page and expand any %name% in it. The file is ASCII, its
// lines end in CR LF, and the loop gives up after a bounded number of tries.
TEST(SelfDeleteBatch, AsciiTextThatNamesTheFileThroughTheEnvironment) {
  const std::string text = platform::SelfDeleteBatchText();
  EXPECT_TRUE(std::all_of(text.begin(), text.end(), [](char c) { return c > 0 && c < 0x7F; }));
  EXPECT_NE(text.find("@del \"%OSTREL_SELF_DELETE%\""), std::string::npos);
  EXPECT_NE(text.find("@if %tries% geq 120 goto done\r\n"), std::string::npos);
  EXPECT_TRUE(text.ends_with(":done\r\n@del \"%~f0\"")) << "it deletes itself last, without a line end";
  EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1) << "CR LF line ends";
}

TEST(SelfDelete, LeavesAFileThatIsNotTheRunningProgram) {
  const fs::path other = fs::temp_directory_path() / ("ostrel-not-me-" + std::to_string(::getpid()));
  std::ofstream(other) << "x";
  platform::ScheduleSelfDelete(other.string());
  EXPECT_TRUE(fs::exists(other));
  fs::remove(other);
}

TEST(StopByName, CommandLinePerPlatform) {
  EXPECT_EQ(platform::StopByNameCommandLine("Ostrel", platform::PathStyle::Windows), "taskkill.exe /f /im Ostrel.exe");
  EXPECT_EQ(platform::StopByNameCommandLine("osd", platform::PathStyle::Windows), "taskkill.exe /f /im osd.exe");
  EXPECT_EQ(platform::StopByNameCommandLine("Ostrel", platform::PathStyle::Posix),
            "pkill -KILL -x -U " + std::to_string(::getuid()) + " Ostrel");
}

// A program of a name no other test uses, started as this user and, where the
// test may switch users, as another one: the command ends only the first.
TEST(StopByName, ReachesOnlyThisUsersProcesses) {
  constexpr const char* kName = "ostrelstopprobe";
  const TempDir folder("ostrel-stop");
  fs::permissions(folder.Path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                     fs::perms::others_read | fs::perms::others_exec);
  const fs::path program = folder.Path() / kName;
  fs::copy_file("/bin/sleep", program);
  const auto start = [&](std::optional<uid_t> user) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      if (user && ::setuid(*user) != 0) ::_exit(127);
      ::execl(program.c_str(), kName, "60", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    return pid;
  };
  const auto endedBySignal = [](pid_t pid, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFSIGNALED(status);
  };

  const pid_t mine = start(std::nullopt);
  const pid_t theirs = ::geteuid() == 0 ? start(65534) : -1;
  // Both have become the program before the command looks for it.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  std::uint32_t exitCode = 0;
  std::string output;
  ostrel::setup::RunCaptured(platform::StopByNameCommandLine(kName, platform::PathStyle::Posix), exitCode,
                             folder.Path().string(), false, 10, output);

  EXPECT_TRUE(endedBySignal(mine, std::chrono::seconds(10))) << output;
  if (theirs > 0) {
    EXPECT_FALSE(endedBySignal(theirs, std::chrono::milliseconds(300))) << "another user's process was stopped";
    ::kill(theirs, SIGKILL);
    ::waitpid(theirs, nullptr, 0);
  }
}

}  // namespace
