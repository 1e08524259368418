#include <gtest/gtest.h>
#include "tests/support/TempDir.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "setup/platform/ExecutableResources.h"
#include "setup/platform/ResourceBundleWriter.h"
#include "setup/platform/ShellLink.h"
#include "setup/platform/ShellOpen.h"
#include "setup/platform/posix/DesktopEntry.h"
#include "setup/platform/posix/PrivateTemporaryFolder.h"

namespace ostrel::platform {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

unsigned Mode(const fs::path& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST(DesktopEntry, ExecQuotesWhatAShellOrTheFieldCodesWouldRead) {
  const struct {
    std::string argument;
    std::string written;
  } cases[] = {
      {"/opt/Ostrel/Ostrel", R"("/opt/Ostrel/Ostrel")"},
      {"/a b/;touch pwned&/x", R"("/a b/;touch pwned&/x")"},
      {"/$HOME/`id`/x", R"("/\\$HOME/\\`id\\`/x")"},
      {"/100%/x", R"("/100%%/x")"},
      {"/back\\slash", R"("/back\\\\slash")"},
      {"/say \"hi\"", R"("/say \\"hi\\"")"},
      {"/line\nbreak", R"("/line\nbreak")"},
      {"/日本語", "\"/日本語\""},
  };
  for (const auto& c : cases) EXPECT_EQ(posix::QuoteExecArgument(c.argument), c.written) << c.argument;
  EXPECT_FALSE(posix::QuoteExecArgument(std::string("/bell\a")));
}

TEST(DesktopEntry, PlainValuesKeepTheirEdgesAndRefuseControlCharacters) {
  EXPECT_EQ(posix::EscapeDesktopString(" a\\b "), "\\sa\\\\b\\s");
  EXPECT_EQ(posix::EscapeDesktopString("/x y/"), "/x y/");
  EXPECT_FALSE(posix::EscapeDesktopString(std::string("a\x1b")));
}

TEST(DesktopEntry, LinkSavesAnApplicationEntryNamedAfterItsFile) {
  const TempDir dir;
  auto link = CreateShellLink();
  ASSERT_TRUE(link);
  ASSERT_TRUE(link->SetPath("/home/u/my apps/Ostrel/Ostrel"));
  ASSERT_TRUE(link->SetWorkingDirectory("/home/u/my apps/Ostrel/"));
  const fs::path file = dir.Path() / ("Ostrel" + std::string(ShortcutSuffix(PathStyle::Posix)));
  ASSERT_TRUE(link->Save(file.string()));

  EXPECT_EQ(ReadText(file),
            "[Desktop Entry]\nType=Application\nName=Ostrel\nExec=\"/home/u/my apps/Ostrel/Ostrel\"\n"
            "Path=/home/u/my apps/Ostrel/\n");
  EXPECT_EQ(Mode(file), 0755u);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1) << "no stray file";

  // Saving replaces a link standing there instead of writing through it.
  fs::remove(file);
  std::ofstream(dir.Path() / "victim") << "keep";
  fs::create_symlink(dir.Path() / "victim", file);
  ASSERT_TRUE(link->Save(file.string()));
  EXPECT_FALSE(fs::is_symlink(file));
  EXPECT_EQ(ReadText(dir.Path() / "victim"), "keep");

  EXPECT_FALSE(link->Save((dir.Path() / "missing" / "Ostrel.desktop").string()));
}

// The menu entry's uninstall action: listed in "Actions=", with a group of
// its own, spelled so that the format's own checker passes the file.
TEST(DesktopEntry, ActionsAreListedAndGroupedAndTheEntryValidates) {
  const TempDir dir;
  auto link = CreateShellLink();
  ASSERT_TRUE(link);
  link->SetPath("/home/u/my $apps/Ostrel/Ostrel");
  link->SetWorkingDirectory("/home/u/my $apps/Ostrel/");
  ASSERT_TRUE(link->AddAction("Uninstall", "Uninstall Ostrel", "/home/u/my $apps/Ostrel/Uninstall"));
  const fs::path file = dir.Path() / "Ostrel.desktop";
  ASSERT_TRUE(link->Save(file.string()));

  EXPECT_EQ(ReadText(file),
            "[Desktop Entry]\nType=Application\nName=Ostrel\nExec=\"/home/u/my \\\\$apps/Ostrel/Ostrel\"\n"
            "Path=/home/u/my $apps/Ostrel/\nActions=Uninstall;\n\n"
            "[Desktop Action Uninstall]\nName=Uninstall Ostrel\nExec=\"/home/u/my \\\\$apps/Ostrel/Uninstall\"\n");
  const std::string validate = "desktop-file-validate '" + file.string() + "' 2>&1";
  EXPECT_EQ(std::system(validate.c_str()), 0) << "desktop-file-validate (scripts/install-deps.sh installs it)";

  EXPECT_FALSE(posix::DesktopEntryText("Ostrel", "/x", "", {{"Un install", "Uninstall Ostrel", "/x/Uninstall"}}));
  EXPECT_FALSE(posix::DesktopEntryText("Ostrel", "/x", "", {{"Uninstall", "", "/x/Uninstall"}}));
}

TEST(PrivateTemporaryFolder, IsPrivateUnpredictableAndGoesAway) {
  const TempDir dir;
  posix::PrivateTemporaryFolder first(dir.Path().string());
  posix::PrivateTemporaryFolder second(dir.Path().string() + "/");
  const auto a = first.Path();
  const auto b = second.Path();
  ASSERT_TRUE(a && b);
  EXPECT_NE(*a, *b);
  EXPECT_EQ(first.Path(), a) << "one folder for the whole run";
  EXPECT_TRUE(a->starts_with(dir.Path().string() + "/ostrel-")) << *a;
  EXPECT_TRUE(a->ends_with('/'));
  EXPECT_TRUE(fs::is_directory(*a));
  EXPECT_EQ(Mode(*a), 0700u);

  const auto file1 = first.CreateUniqueFile("tmp");
  const auto file2 = first.CreateUniqueFile("tmp");
  ASSERT_TRUE(file1 && file2);
  EXPECT_NE(*file1, *file2);
  EXPECT_TRUE(fs::path(*file1).filename().string().starts_with("tmp"));
  EXPECT_EQ(fs::file_size(*file1), 0u);
  EXPECT_EQ(Mode(*file1), 0600u);

  EXPECT_FALSE(first.Release()) << "files are still inside";
  fs::remove(*file1);
  fs::remove(*file2);
  EXPECT_TRUE(first.Release());
  EXPECT_FALSE(fs::exists(*a));
}

// A run that was killed leaves its folder; a later run removes it, while the
// folders of runs still going (this one), of other users and anything not
// made by this program stay.
TEST(PrivateTemporaryFolder, LeftoversOfEndedRunsGo) {
  const TempDir dir;
  posix::PrivateTemporaryFolder mine(dir.Path().string());
  const auto inUse = mine.Path();
  ASSERT_TRUE(inUse);
  EXPECT_TRUE(fs::path(*inUse).parent_path().filename().string().starts_with(
      "ostrel-" + std::to_string(::getpid()) + "-"));

  // A process that has ended: a child reaped here.
  const pid_t ended = ::fork();
  if (ended == 0) ::_exit(0);
  ::waitpid(ended, nullptr, 0);
  const fs::path leftover = dir.Path() / ("ostrel-" + std::to_string(ended) + "-1-00ff00ff00ff00ff");
  fs::create_directories(leftover / "inner");
  std::ofstream(leftover / "inner" / "7za") << "x";
  // This process, but an earlier start: the id was reused.
  const fs::path reused = dir.Path() / ("ostrel-" + std::to_string(::getpid()) + "-1-0000000000000000");
  fs::create_directories(reused);
  const fs::path unrelated = dir.Path() / "ostrel-notes";
  fs::create_directories(unrelated);
  const fs::path outside = dir.Path() / "outside";
  fs::create_directories(outside);
  std::ofstream(outside / "kept") << "x";
  fs::create_directory_symlink(outside, dir.Path() / ("ostrel-" + std::to_string(ended) + "-1-link"));

  posix::PrivateTemporaryFolder(dir.Path().string()).RemoveLeftovers();
  EXPECT_FALSE(fs::exists(leftover));
  EXPECT_FALSE(fs::exists(reused));
  EXPECT_TRUE(fs::is_directory(*inUse)) << "a folder in use stays";
  EXPECT_TRUE(fs::is_directory(unrelated));
  EXPECT_TRUE(fs::exists(outside / "kept")) << "nothing is followed through a link";
}

TEST(PrivateTemporaryFolder, UnusableBaseGivesNothing) {
  const TempDir dir;
  posix::PrivateTemporaryFolder folder((dir.Path() / "missing").string());
  EXPECT_FALSE(folder.Path());
  EXPECT_FALSE(folder.CreateUniqueFile("tmp"));
  EXPECT_TRUE(folder.Release());
}

TEST(PrivateTemporaryFolder, BaseComesFromAnAbsoluteTmpdirOnly) {
  const char* saved = std::getenv("TMPDIR");
  const std::string keep = saved != nullptr ? saved : "";
  ::setenv("TMPDIR", "/var/tmp", 1);
  EXPECT_EQ(posix::TemporaryBase(), "/var/tmp");
  ::setenv("TMPDIR", "relative/dir", 1);
  EXPECT_EQ(posix::TemporaryBase(), "/tmp");
  if (saved != nullptr) {
    ::setenv("TMPDIR", keep.c_str(), 1);
  } else {
    ::unsetenv("TMPDIR");
  }
}

TEST(ShellOpen, StartsTheProgramInASessionOfItsOwnWithoutWaiting) {
  const TempDir dir;
  const fs::path script = dir.Path() / "with space;$x";
  const fs::path mark = dir.Path() / "mark";
  {
    std::ofstream out(script);
    // The session id is the fourth field after the command name in /proc.
    out << "#!/bin/sh\nsleep 0.2\nsed 's/.*) //' /proc/$$/stat | cut -d' ' -f4 > '" << mark.string() << ".tmp'\nmv '" << mark.string()
        << ".tmp' '" << mark.string() << "'\n";
  }
  fs::permissions(script, fs::perms::owner_all);

  const auto before = std::chrono::steady_clock::now();
  ASSERT_TRUE(ShellOpen(script.string()));
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(200)) << "the opener waited";

  for (int i = 0; i < 250 && !fs::exists(mark); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_TRUE(fs::exists(mark));
  EXPECT_NE(std::stol(ReadText(mark)), static_cast<long>(::getsid(0)));

  EXPECT_FALSE(ShellOpen((dir.Path() / "missing").string()));
  EXPECT_FALSE(ShellOpen(""));
}

long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with("VmRSS:")) return std::stol(line.substr(6));
  }
  return -1;
}

// The install writes the payload archive out of the program's own mapping;
// a payload of hundreds of megabytes must not stay resident after it.
TEST(ExecutableResourcesStreaming, SavingALargeResourceKeepsLittleResident) {
  const TempDir dir;
  const fs::path program = dir.Path() / "program";
  constexpr std::size_t kSize = std::size_t{96} << 20;
  {
    std::ofstream out(program, std::ios::binary);
    ResourceBundleWriter writer([&](std::span<const std::byte> b) {
      out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    });
    writer.BeginEntry("PAK");
    const std::string block(std::size_t{1} << 20, 'p');
    for (std::size_t i = 0; i < kSize / block.size(); ++i) writer.Write(std::as_bytes(std::span(block)));
    writer.EndEntry();
    writer.Finish();
  }
  const auto resources = ExecutableResources::Open(program.string());
  const long before = ResidentKilobytes();
  ASSERT_TRUE(resources->SaveToFile("PAK", (dir.Path() / "copy").string()));
  const long after = ResidentKilobytes();
  EXPECT_EQ(fs::file_size(dir.Path() / "copy"), kSize);
  EXPECT_LT(after - before, 16 * 1024) << "kB resident after saving " << (kSize >> 20) << " MB";
}

}  // namespace
}  // namespace ostrel::platform
