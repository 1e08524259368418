#include "setup/platform/Removal.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "setup/platform/SelfDelete.h"
#include "setup/platform/StopByName.h"

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
  EXPECT_EQ(platform::StopByNameCommandLine("Ostrel", platform::PathStyle::Posix), "pkill -KILL -x Ostrel");
}

}  // namespace
