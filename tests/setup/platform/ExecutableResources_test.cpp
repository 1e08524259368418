#include "setup/platform/ExecutableResources.h"
#include "tests/support/TempDir.h"
#include "setup/platform/ProcessRunner.h"
#include "setup/platform/ResourceBundle.h"
#include "setup/platform/ResourceBundleWriter.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using ostrel::platform::ExecutableResources;
using ostrel::platform::ResourceBundle;
using ostrel::platform::ResourceBundleWriter;
using ostrel::platform::SaveOptions;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

unsigned Mode(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_mode & 0777;
}

std::span<const std::byte> AsBytes(const std::string& s) { return std::as_bytes(std::span(s)); }

class ExecutableResourcesTest : public testing::Test {
 protected:
  void SetUp() override {
    // Several chunks of the streaming copy, and not a multiple of one.
    big_.resize((std::size_t{5} << 20) / 2 + 17);
    std::mt19937 random(7);
    for (char& c : big_) c = static_cast<char>(random());

    std::ofstream out(program_, std::ios::binary);
    out << "program bytes";
    ResourceBundleWriter w([&](std::span<const std::byte> b) { out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size())); });
    w.AddEntry("VER", AsBytes(std::string("2.0")));
    w.AddEntry("PAK", AsBytes(big_));
    w.AddEntry("EMPTY", {});
    w.AddEntry("TOOL", AsBytes(std::string("#!/bin/sh\necho ran \"$1\"\n")));
    w.Finish();
  }

  // Flips one byte inside PAK's stored bytes.
  void DamagePak() {
    std::string file = ReadFile(program_);
    file[13 + 3 + 1000] ^= 0x55;
    WriteFile(program_, file);
  }

  TempDir dir_;
  const std::string program_ = dir_ / "packed";
  std::string big_;
};

TEST_F(ExecutableResourcesTest, FindsResourcesOfAPackedFile) {
  const auto res = ExecutableResources::Open(program_);
  ASSERT_TRUE(res->Find("ver"));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(res->Find("ver")->data()), 3), "2.0");
  EXPECT_EQ(res->Find("PaK")->size(), big_.size());
  EXPECT_FALSE(res->Find("7za"));
}

TEST_F(ExecutableResourcesTest, FilesWithoutResourcesFindNothing) {
  WriteFile(dir_ / "plain", "just a program");
  for (const std::string& path : {dir_ / "plain", dir_ / "missing", dir_ / ""}) {
    const auto res = ExecutableResources::Open(path);
    EXPECT_FALSE(res->Find("ver")) << path;
    EXPECT_FALSE(res->SaveToFile("ver", dir_ / "out")) << path;
  }
  EXPECT_FALSE(fs::exists(dir_ / "out"));
  // This test program is not packed.
  EXPECT_FALSE(ExecutableResources::OpenSelf()->Find("ver"));
}

TEST_F(ExecutableResourcesTest, SavedFileEqualsTheResource) {
  const auto res = ExecutableResources::Open(program_);
  ASSERT_TRUE(res->SaveToFile("pak", dir_ / "payload"));
  EXPECT_EQ(ReadFile(dir_ / "payload"), big_);
  EXPECT_EQ(Mode(dir_ / "payload"), 0600u);

  ASSERT_TRUE(res->SaveToFile("empty", dir_ / "empty"));
  EXPECT_EQ(fs::file_size(dir_ / "empty"), 0u);

  ASSERT_TRUE(res->SaveToFile("ver", dir_ / "tool", SaveOptions{.createNew = true, .executable = true}));
  EXPECT_EQ(ReadFile(dir_ / "tool"), "2.0");
  EXPECT_EQ(Mode(dir_ / "tool"), 0700u);
}

// Some kernels refuse an in-kernel copy between file systems; the save must
// then still produce the same bytes.
TEST_F(ExecutableResourcesTest, SavesOntoAnotherFileSystem) {
  const fs::path shm = "/dev/shm";
  std::error_code ec;
  if (!fs::is_directory(shm, ec)) GTEST_SKIP() << "no /dev/shm";
  const std::string target = (shm / ("ostrel-res-" + std::to_string(::getpid()))).string();
  const auto res = ExecutableResources::Open(program_);
  const bool saved = res->SaveToFile("pak", target);
  const std::string copied = ReadFile(target);
  fs::remove(target, ec);
  ASSERT_TRUE(saved);
  EXPECT_EQ(copied, big_);
}

TEST_F(ExecutableResourcesTest, ReplacingShortensALongerFileAndMakesItRunnable) {
  WriteFile(dir_ / "existing", std::string(100, 'x'));
  ::chmod((dir_ / "existing").c_str(), 0600);
  const auto res = ExecutableResources::Open(program_);
  ASSERT_TRUE(res->SaveToFile("ver", dir_ / "existing", SaveOptions{.executable = true}));
  EXPECT_EQ(ReadFile(dir_ / "existing"), "2.0");
  EXPECT_EQ(Mode(dir_ / "existing"), 0700u);
}

TEST_F(ExecutableResourcesTest, CreateNewLeavesAnExistingFileAlone) {
  WriteFile(dir_ / "existing", "keep me");
  const auto res = ExecutableResources::Open(program_);
  EXPECT_FALSE(res->SaveToFile("ver", dir_ / "existing", SaveOptions{.createNew = true}));
  EXPECT_EQ(ReadFile(dir_ / "existing"), "keep me");
}

TEST_F(ExecutableResourcesTest, NeverWritesThroughASymbolicLink) {
  WriteFile(dir_ / "victim", "keep me");
  fs::create_symlink(dir_ / "victim", dir_ / "link");
  const auto res = ExecutableResources::Open(program_);
  for (const bool createNew : {false, true}) {
    EXPECT_FALSE(res->SaveToFile("ver", dir_ / "link", SaveOptions{.createNew = createNew}));
    EXPECT_EQ(ReadFile(dir_ / "victim"), "keep me");
  }
}

TEST_F(ExecutableResourcesTest, NeverWritesIntoAnythingButARegularFile) {
  ASSERT_EQ(::mkfifo((dir_ / "fifo").c_str(), 0600), 0);
  fs::create_directory(dir_ / "folder");
  const auto res = ExecutableResources::Open(program_);
  for (const std::string& path : {dir_ / "fifo", dir_ / "folder"}) {
    EXPECT_FALSE(res->SaveToFile("ver", path)) << path;
    EXPECT_TRUE(fs::exists(path)) << path;
  }
}

TEST_F(ExecutableResourcesTest, DamagedResourceIsNotFoundAndLeavesNoFile) {
  DamagePak();
  const auto res = ExecutableResources::Open(program_);
  EXPECT_FALSE(res->Find("pak"));
  EXPECT_FALSE(res->SaveToFile("pak", dir_ / "payload"));
  EXPECT_FALSE(fs::exists(dir_ / "payload"));
  WriteFile(dir_ / "old", "old contents");
  EXPECT_FALSE(res->SaveToFile("pak", dir_ / "old"));
  EXPECT_FALSE(fs::exists(dir_ / "old"));
  // The undamaged ones still serve.
  EXPECT_TRUE(res->SaveToFile("ver", dir_ / "ver"));
}

// Held in memory, a resource is there to read under its path while the
// object lives, cannot be changed through it, and is gone with the object.
TEST_F(ExecutableResourcesTest, InMemoryFileHoldsTheResourceSealed) {
  const auto res = ExecutableResources::Open(program_);
  std::string path;
  {
    const auto held = res->OpenInMemory("pak");
    ASSERT_TRUE(held);
    path = held->Path();
    EXPECT_EQ(ReadFile(path), big_);
    const int writer = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    EXPECT_TRUE(writer < 0 || ::write(writer, "x", 1) < 0) << "a sealed file took a write";
    if (writer >= 0) ::close(writer);
    EXPECT_EQ(ReadFile(path), big_);
    EXPECT_TRUE(res->OpenInMemory("empty"));
  }
  EXPECT_FALSE(fs::exists(path));
  DamagePak();
  EXPECT_FALSE(ExecutableResources::Open(program_)->OpenInMemory("pak")) << "a damaged resource is not held";
  // ...unless its reader checks it itself: then it is held as it is.
  const auto unchecked =
      ExecutableResources::Open(program_)->OpenInMemory("pak", ostrel::platform::ResourceCheck::ItsOwnReader);
  ASSERT_TRUE(unchecked);
  EXPECT_EQ(ReadFile(unchecked->Path()).size(), big_.size());
  EXPECT_NE(ReadFile(unchecked->Path()), big_);
  EXPECT_FALSE(res->OpenInMemory("missing"));
}

// A reader told where a resource lies finds it there, under a path that
// stays good while the object lives, whatever becomes of the file's name.
TEST_F(ExecutableResourcesTest, PlaceInFileIsWhereTheResourceLies) {
  const auto res = ExecutableResources::Open(program_);
  const auto place = res->PlaceInFile("pak");
  ASSERT_TRUE(place);
  fs::rename(program_, dir_ / "renamed");
  EXPECT_EQ(ReadFile(place->path).substr(place->offset, big_.size()), big_);
  EXPECT_FALSE(res->PlaceInFile("missing"));
}

// A program held in memory runs from its path, for this process's children
// too, with nothing written to disk.
TEST_F(ExecutableResourcesTest, ProgramInMemoryRuns) {
  const auto held = ExecutableResources::Open(program_)->OpenInMemory("tool");
  ASSERT_TRUE(held);
  ostrel::platform::ProcessRequest request;
  request.arguments = {held->Path(), "from memory"};
  const auto outcome = ostrel::platform::RunCapturedProcess(request);
  ASSERT_TRUE(outcome.started);
  EXPECT_EQ(outcome.exitCode, 0u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(outcome.output.data()), outcome.output.size()),
            "ran from memory\n");
}

// The uninstaller's copy: the program and the resources it keeps, nothing
// else, with no name in the folder until it is published and nothing left
// when it is dropped.
TEST_F(ExecutableResourcesTest, ProgramCopyCarriesOnlyTheKeptResources) {
  const TempDir folder("ostrel-stage");
  const std::string_view keep[] = {"tool", "VER", "absent"};
  const auto res = ExecutableResources::Open(program_);
  {
    auto dropped = res->StageProgramCopy(folder.Path().string(), keep);
    ASSERT_TRUE(dropped);
    EXPECT_TRUE(fs::is_empty(folder.Path())) << "a pending copy has no name";
  }
  EXPECT_TRUE(fs::is_empty(folder.Path())) << "a dropped copy leaves nothing";

  auto pending = res->StageProgramCopy(folder.Path().string(), keep);
  ASSERT_TRUE(pending);
  const std::string copy = folder / "Uninstall";
  WriteFile(folder / "taken", "keep me");
  EXPECT_FALSE(res->StageProgramCopy(folder.Path().string(), keep)->Publish(folder / "taken"));
  EXPECT_EQ(ReadFile(folder / "taken"), "keep me");
  ASSERT_TRUE(pending->Publish(copy));
  EXPECT_EQ(Mode(copy), Mode(program_));

  const std::string bytes = ReadFile(copy);
  EXPECT_TRUE(bytes.starts_with("program bytes"));
  const auto bundle = ResourceBundle::Parse(AsBytes(bytes));
  ASSERT_EQ(bundle.GetState(), ResourceBundle::State::Valid);
  EXPECT_EQ(bundle.ProgramSize(), std::string("program bytes").size());
  std::vector<std::string> names;
  for (const auto& entry : bundle.Entries()) names.emplace_back(entry.name);
  EXPECT_EQ(names, (std::vector<std::string>{"VER", "TOOL"})) << "in the program's order";
  EXPECT_EQ(ExecutableResources::Open(copy)->Find("ver")->size(), 3u);

  // The payload is not needed: damage there does not matter, in a kept one it does.
  DamagePak();
  const auto damaged = ExecutableResources::Open(program_);
  EXPECT_TRUE(damaged->StageProgramCopy(folder.Path().string(), keep));
  const std::string_view keepPak[] = {"pak"};
  EXPECT_FALSE(damaged->StageProgramCopy(folder.Path().string(), keepPak));
  EXPECT_FALSE(res->StageProgramCopy((folder.Path() / "missing").string(), keep));
}

TEST_F(ExecutableResourcesTest, UnwritablePlaceFailsQuietly) {
  const auto res = ExecutableResources::Open(program_);
  EXPECT_FALSE(res->SaveToFile("ver", dir_ / "no-such-folder/ver"));
  EXPECT_FALSE(res->SaveToFile("ver", dir_ / ""));
}

}  // namespace
