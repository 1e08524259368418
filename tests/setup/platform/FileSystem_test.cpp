#include "setup/platform/FileSystem.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;
namespace platform = ostrel::platform;

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(FileSystem, ExistenceTellsFilesFromFolders) {
  const TempDir dir;
  WriteText(dir / "file", "x");
  fs::create_directory(dir / "folder");
  fs::create_symlink(dir / "file", dir / "link");

  EXPECT_TRUE(platform::FileExists(dir / "file"));
  EXPECT_TRUE(platform::FileExists(dir / "link"));
  EXPECT_FALSE(platform::FileExists(dir / "folder"));
  EXPECT_FALSE(platform::FileExists(dir / "missing"));
  EXPECT_FALSE(platform::FileExists(""));
  EXPECT_TRUE(platform::DirectoryExists(dir / "folder"));
  EXPECT_FALSE(platform::DirectoryExists(dir / "file"));
}

TEST(FileSystem, RemoveFileNeverTakesAFolder) {
  const TempDir dir;
  WriteText(dir / "file", "x");
  fs::create_directory(dir / "folder");

  EXPECT_TRUE(platform::RemoveFile(dir / "file"));
  EXPECT_FALSE(fs::exists(dir / "file"));
  EXPECT_FALSE(platform::RemoveFile(dir / "file"));
  EXPECT_FALSE(platform::RemoveFile(dir / "folder"));
  EXPECT_TRUE(fs::is_directory(dir / "folder"));
}

TEST(FileSystem, ForceDirectoriesMakesEveryMissingParent) {
  const TempDir dir;
  EXPECT_TRUE(platform::ForceDirectories(dir / "a/b c/d$;e/"));
  EXPECT_TRUE(fs::is_directory(dir / "a/b c/d$;e"));
  EXPECT_TRUE(platform::ForceDirectories(dir / "a"));

  WriteText(dir / "plain", "x");
  EXPECT_FALSE(platform::ForceDirectories(dir / "plain/below"));
  EXPECT_FALSE(platform::ForceDirectories(""));
}

TEST(FileSystem, CopyKeepsBytesAndTheRightToRun) {
  const TempDir dir;
  const std::string bytes("\0\x01program\xff", 11);
  WriteText(dir / "src", bytes);
  ::chmod((dir / "src").c_str(), 0750);

  ASSERT_TRUE(platform::CopyFileTo(dir / "src", dir / "dst", true));
  EXPECT_EQ(ReadText(dir / "dst"), bytes);
  struct stat st {};
  ASSERT_EQ(::stat((dir / "dst").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0750u);
}

TEST(FileSystem, CopyFailIfExistsLeavesTheOldFileAndLinksAlone) {
  const TempDir dir;
  WriteText(dir / "src", "new");
  WriteText(dir / "old", "old");
  WriteText(dir / "victim", "victim");
  fs::create_symlink(dir / "victim", dir / "link");

  EXPECT_FALSE(platform::CopyFileTo(dir / "src", dir / "old", true));
  EXPECT_EQ(ReadText(dir / "old"), "old");
  EXPECT_FALSE(platform::CopyFileTo(dir / "src", dir / "link", false));
  EXPECT_EQ(ReadText(dir / "victim"), "victim");

  EXPECT_TRUE(platform::CopyFileTo(dir / "src", dir / "old", false));
  EXPECT_EQ(ReadText(dir / "old"), "new");
  EXPECT_FALSE(platform::CopyFileTo(dir / "missing", dir / "other", false));
  EXPECT_FALSE(fs::exists(dir / "other"));
}

// The move never replaces: whatever holds the new name (file, folder or a
// link to elsewhere) stays, and so does the file that was to be moved.
TEST(FileSystem, MoveTakesOnlyAFreeName) {
  const TempDir dir;
  WriteText(dir / "staged", "program");
  WriteText(dir / "taken", "old");
  fs::create_directory(dir / "folder");
  fs::create_symlink(dir / "nowhere", dir / "dangling");

  for (const char* name : {"taken", "folder", "dangling"}) {
    EXPECT_FALSE(platform::MoveFileTo(dir / "staged", dir / name)) << name;
    EXPECT_EQ(ReadText(dir / "staged"), "program") << name;
  }
  EXPECT_EQ(ReadText(dir / "taken"), "old");
  EXPECT_TRUE(fs::is_symlink(dir / "dangling"));
  EXPECT_FALSE(fs::exists(dir / "nowhere"));

  ASSERT_TRUE(platform::MoveFileTo(dir / "staged", dir / "Uninstall"));
  EXPECT_EQ(ReadText(dir / "Uninstall"), "program");
  EXPECT_FALSE(fs::exists(dir / "staged"));
  EXPECT_FALSE(platform::MoveFileTo(dir / "staged", dir / "again"));
}

}  // namespace
