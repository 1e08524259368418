#include "tests/tools/ChildProcess.h"
#include "tests/support/TempDir.h"
#include "setup/platform/ResourceBundle.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using ostrel::testing::RunProgram;

const std::string kPack = OSTREL_PACK;
const std::string kProbe = OSTREL_PROBE;
// The probe's program as the packed probe carries it (without its debug
// information, unless the build keeps it).
const std::string kPackedProbeProgram = OSTREL_PACKED_PROBE_PROGRAM;
const std::string kPackedProbe = OSTREL_PACKED_PROBE;
const std::string kPackedProbe21 = OSTREL_PACKED_PROBE_2_1;
const std::string kArchive = OSTREL_PAYLOAD_ARCHIVE;
const std::string kExtractor = OSTREL_EXTRACTOR;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(PackedProgramTest, ReadsItsOwnResourcesByNameInAnyCase) {
  for (const char* name : {"ver", "VER", "Ver"}) {
    const auto r = RunProgram({kPackedProbe, name});
    EXPECT_EQ(r.exitCode, 0) << name;
    EXPECT_EQ(r.output, "2.0") << "exactly three bytes, no line end";
  }
  EXPECT_EQ(RunProgram({kPackedProbe21, "ver"}).output, "2.1");
  EXPECT_EQ(RunProgram({kPackedProbe21, "pak"}).output, RunProgram({kPackedProbe, "pak"}).output);
  EXPECT_EQ(RunProgram({kPackedProbe, "bg"}).exitCode, 3);
  EXPECT_EQ(RunProgram({kProbe, "ver"}).exitCode, 3) << "the unpacked program has no resources";

  // File resources start on a page of the packed file, text ones need not.
  const std::string packed = ReadFile(kPackedProbe);
  const auto bundle = ostrel::platform::ResourceBundle::Parse(std::as_bytes(std::span(packed)));
  for (const char* name : {"7za", "pak"}) {
    EXPECT_EQ((bundle.Find(name)->data() - std::as_bytes(std::span(packed)).data()) % 4096, 0) << name;
  }

  // The archive comes first after the program (and the short version text),
  // so that the extractor's search for it passes over the program alone.
  const auto list = RunProgram({kPack, "--list", kPackedProbe});
  EXPECT_EQ(list.exitCode, 0);
  EXPECT_EQ(list.output, "VER 3\nPAK " + std::to_string(fs::file_size(kArchive)) + "\n7ZA " +
                             std::to_string(fs::file_size(kExtractor)) + "\n");
}

TEST(PackedProgramTest, SavedExtractorUnpacksTheSavedPayloadWithThePassword) {
  TempDir dir;
  ASSERT_EQ(RunProgram({kPackedProbe, "--save", "7za", dir / "7za"}).exitCode, 0);
  ASSERT_EQ(RunProgram({kPackedProbe, "--save", "pak", dir / "pak"}).exitCode, 0);
  EXPECT_EQ(RunProgram({kPackedProbe, "--save", "pak", dir / "pak"}).exitCode, 3) << "saving never replaces a file here";
  EXPECT_EQ(ReadFile(dir / "pak"), ReadFile(kArchive));
  EXPECT_EQ(fs::status(dir / "7za").permissions() & fs::perms::all, fs::perms::owner_all);
  EXPECT_EQ(ReadFile(dir / "pak").substr(0, 6), "7z\xBC\xAF\x27\x1C");

  const auto install = dir.Path() / "install";
  RunProgram({dir / "7za", "x", "-pZq4vTe", "-aoa", dir / "pak", "-o" + install.string() + "/"});
  // The product and every name the uninstaller removes arrive, in their folders.
  for (const char* name :
       {"Ostrel", "osd", "os-trel", "MicrosoftEdgeWebview2Setup", "Ostrelx64Bridge", "AdbWinApi.dll", "AdbWinUsbApi.dll",
        "avcodec-58.dll", "avformat-58.dll", "avutil-56.dll", "swresample-3.dll", "swscale-5.dll", "libalac-0.dll",
        "libfdk-aac-2.dll", "WebView2Loader.dll", "lang/日本語.lang", "lang/简体中文.lang", "lang/日本語-Github.lang",
        "lang/繁體中文(台灣)-Github.lang", "lang/繁體中文(香港)-Github.lang", "lang/Srpski-Github.lang",
        "lang/한국어-Github.lang"}) {
    EXPECT_TRUE(fs::is_regular_file(install / name)) << name;
  }
  EXPECT_FALSE(fs::is_empty(install / "wizard"));
  EXPECT_FALSE(fs::is_empty(install / "driver"));
  EXPECT_NE(fs::status(install / "Ostrel").permissions() & fs::perms::owner_exec, fs::perms::none);

  const auto wrong = dir.Path() / "wrong";
  RunProgram({dir / "7za", "x", "-pwrong", "-aoa", "-bse0", dir / "pak", "-o" + wrong.string() + "/"});
  // Whether the extractor leaves what it decoded before the password check
  // failed depends on the archive's random salt; none of it is the payload.
  for (const auto& e : fs::recursive_directory_iterator(wrong)) {
    if (!e.is_regular_file()) continue;
    const auto original = install / fs::relative(e.path(), wrong);
    EXPECT_NE(ReadFile(e.path()), ReadFile(original)) << e.path();
  }
}

TEST(PackerTest, RepackingReplacesTheBundle) {
  TempDir dir;
  ASSERT_EQ(RunProgram({kPack, "--program", kPackedProbe, "--output", dir / "repacked", "--resource-text", "VER=2.1"}).exitCode, 0);
  ASSERT_EQ(
      RunProgram({kPack, "--program", kPackedProbeProgram, "--output", dir / "fresh", "--resource-text", "VER=2.1"})
          .exitCode,
      0);
  EXPECT_EQ(ReadFile(dir / "repacked"), ReadFile(dir / "fresh")) << "nothing of the old bundle may remain";
  EXPECT_EQ(RunProgram({dir / "repacked", "ver"}).output, "2.1");
  EXPECT_EQ(RunProgram({kPack, "--list", dir / "repacked"}).output, "VER 3\n");

  fs::copy_file(kPackedProbe, dir / "inplace");
  ASSERT_EQ(RunProgram({kPack, "--program", dir / "inplace", "--output", dir / "inplace", "--resource-text", "VER=2.1"}).exitCode, 0);
  EXPECT_EQ(RunProgram({dir / "inplace", "ver"}).output, "2.1");
}

TEST(PackerTest, RefusesBadInputAndWritesNoOutput) {
  TempDir dir;
  fs::copy_file(kPackedProbe, dir / "damaged");
  {
    // Break the index checksum: the program's end can no longer be told.
    std::fstream f(dir / "damaged", std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(-12, std::ios::end);
    f.put('\xAA');
  }
  std::ofstream(dir / "file") << "x";
  struct Case {
    std::vector<std::string> extra;
    std::string program;
    int exitCode;
  };
  const std::vector<Case> cases = {
      {{"--resource", "PAK=" + (dir / "missing")}, kProbe, 1},
      {{"--resource-text", "VER=1", "--resource-text", "ver=2"}, kProbe, 1},
      {{"--resource-text", "TWO WORDS=1"}, kProbe, 1},
      {{"--resource", "=" + (dir / "file")}, kProbe, 2},
      {{"--resource", "NOFILE"}, kProbe, 2},
      {{"--unknown", "x"}, kProbe, 2},
      {{}, dir / "damaged", 1},
      {{}, dir / "no-program", 1},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {kPack, "--program", c.program, "--output", dir / "out"};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    EXPECT_EQ(RunProgram(args).exitCode, c.exitCode) << args.back();
    EXPECT_FALSE(fs::exists(dir / "out")) << args.back();
    EXPECT_FALSE(fs::exists(dir / "out.partial")) << args.back();
  }
  EXPECT_EQ(RunProgram({kPack, "--program", kProbe}).exitCode, 2);
}

}  // namespace
