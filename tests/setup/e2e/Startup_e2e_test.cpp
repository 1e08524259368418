#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string_view>
#include <vector>

#include "setup/platform/ResourceBundle.h"
#include "tests/setup/e2e/SandboxProcess.h"

namespace ostrel::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class SetupRun : public ::testing::Test {
 protected:
  SetupRun()
      : sandbox_(fs::path(OSTREL_E2E_SANDBOX) / ::testing::UnitTest::GetInstance()->current_test_info()->name()) {}

  // The packed setup under the given file name, inside the sandbox.
  fs::path InstallCopy(const std::string& name) {
    const fs::path target = sandbox_.Root() / "download" / name;
    fs::create_directories(target.parent_path());
    fs::copy_file(OSTREL_PACKED_SETUP, target, fs::copy_options::overwrite_existing);
    return target;
  }

  fs::path ProductKey() const { return sandbox_.RegistryHive() / "Software" / "Ostrel"; }

  // Turns one byte in the middle of the named resource of the program file,
  // as a damaged download would; false when the program carries no such one.
  static bool DamageResource(const fs::path& program, std::string_view name) {
    std::vector<std::byte> bytes(fs::file_size(program));
    std::ifstream(program, std::ios::binary)
        .read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const auto resource = platform::ResourceBundle::Parse(bytes).Find(name);
    if (!resource.has_value()) return false;
    const auto at = static_cast<std::streamoff>(resource->data() - bytes.data()) +
                    static_cast<std::streamoff>(resource->size() / 2);
    std::fstream file(program, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(at);
    file.put(static_cast<char>(~static_cast<unsigned char>(bytes[static_cast<std::size_t>(at)])));
    return file.good();
  }

  // What a run wrote to standard error, line by line.
  std::vector<std::string> ErrorLines(const fs::path& file) const {
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  Sandbox sandbox_;
};

// Runs that show a window get one; the sandbox itself names no display.
const std::vector<std::string> kOffscreen = {"QT_QPA_PLATFORM=offscreen"};

TEST_F(SetupRun, FirstSetupStoresANewIdentityAndItsChannelTag) {
  SandboxProcess setup(sandbox_, InstallCopy("OstrelSetup.web"), {}, kOffscreen);
  ASSERT_TRUE(setup.Started());

  // "fl" is written after "uuid", so both are there once "fl" is.
  ASSERT_TRUE(WaitUntil([&] { return ReadRegistryString(ProductKey() / "fl").has_value(); }, 30s))
      << "no registry write under " << ProductKey();
  EXPECT_FALSE(setup.WaitForExit(200ms).has_value()) << "the interactive window ended by itself";
  setup.Kill();

  const auto uuid = ReadRegistryString(ProductKey() / "uuid");
  ASSERT_TRUE(uuid.has_value());
  EXPECT_TRUE(std::regex_match(*uuid, std::regex("\\{[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\\}"))) << *uuid;
  EXPECT_EQ(ReadRegistryString(ProductKey() / "fl"), "web");
  EXPECT_FALSE(fs::exists(sandbox_.RegistryHive() / "Software" / "Microsoft")) << "nothing was installed";
}

// The window comes from a module the packed program carries. Damaged, it is
// refused by its checksum: the interactive run ends at once with an error
// instead of loading bad code or showing nothing for ever.
TEST_F(SetupRun, DamagedWindowModuleEndsTheInteractiveRun) {
  const fs::path setup = InstallCopy("OstrelSetup");
  ASSERT_TRUE(DamageResource(setup, "gui")) << "the packed setup carries its window module";

  SandboxProcess run(sandbox_, setup, {}, kOffscreen);
  ASSERT_TRUE(run.Started());
  EXPECT_EQ(run.WaitForExit(30s), 1);
}

// The window is read from the stored form the program carries; there is no
// other window to show. Damaged, the form ends every run that needs the
// window with one line that says so, before anything is read or written.
TEST_F(SetupRun, DamagedStoredFormEndsTheInteractiveRunSayingWhy) {
  for (const std::string name : {"OstrelSetup", "Uninstall"}) {
    SCOPED_TRACE(name);
    const fs::path program = InstallCopy(name);
    ASSERT_TRUE(DamageResource(program, "TMAINFORM")) << "the packed setup carries its stored form";
    const fs::path errors = sandbox_.Root() / (name + ".err");
    SandboxProcess run(sandbox_, program, {}, kOffscreen, errors);
    ASSERT_TRUE(run.Started());
    EXPECT_EQ(run.WaitForExit(30s), 1);
    const std::vector<std::string> said = {
        "OstrelSetup: the setup window cannot be shown: its stored form is missing or damaged."};
    EXPECT_EQ(ErrorLines(errors), said);
    EXPECT_FALSE(fs::exists(sandbox_.RegistryHive())) << "nothing was read or written";
  }
}

// A run that would show the window or its question, on a machine with no
// display at all: one line that says so, an exit code, no abort, and nothing
// done.
TEST_F(SetupRun, InteractiveRunsWithoutADisplaySaySoInOneLine) {
  for (const std::string name : {"OstrelSetup", "Uninstall"}) {
    SCOPED_TRACE(name);
    const fs::path errors = sandbox_.Root() / (name + ".err");
    SandboxProcess run(sandbox_, InstallCopy(name), {}, {}, errors);
    ASSERT_TRUE(run.Started());
    EXPECT_EQ(run.WaitForExit(30s), 1) << "ended by a signal, or not at all";
    const std::vector<std::string> lines = ErrorLines(errors);
    ASSERT_EQ(lines.size(), 1u) << ::testing::PrintToString(lines);
    EXPECT_TRUE(lines[0].starts_with("OstrelSetup: ") && lines[0].find("display") != std::string::npos) << lines[0];
    EXPECT_FALSE(fs::exists(sandbox_.RegistryHive())) << "nothing was read or written";
  }
}

// Only words one and two mean anything to the program; options the host
// framework would take for its own (a platform that does not exist) are
// neither obeyed nor fatal. Both runs wait, the setup with its window and the
// uninstaller with its question.
TEST_F(SetupRun, FrameworkOptionsAmongTheArgumentsMeanNothing) {
  for (const std::string name : {"OstrelSetup", "Uninstall"}) {
    SCOPED_TRACE(name);
    SandboxProcess run(sandbox_, InstallCopy(name), {"-platform", "nowhere", "-display", ":99"}, kOffscreen);
    ASSERT_TRUE(run.Started());
    if (name == "OstrelSetup") {
      EXPECT_TRUE(WaitUntil([&] { return ReadRegistryString(ProductKey() / "fl").has_value(); }, 30s));
    }
    run.WaitForExit(2s);
    EXPECT_TRUE(run.Running()) << "the run ended";
  }
}

// An unattended run has no window anyone could close: when the chain cannot
// go on (here the uninstall entry cannot be written), it ends with a code and
// one line that says why, instead of waiting for ever.
TEST_F(SetupRun, SilentRunThatCannotWriteItsEntryEndsSayingWhy) {
  fs::create_directories(sandbox_.RegistryHive() / "Software");
  { std::ofstream(sandbox_.RegistryHive() / "Software" / "Microsoft") << "not a key"; }
  const fs::path errors = sandbox_.Root() / "errors.txt";
  SandboxProcess setup(sandbox_, InstallCopy("OstrelSetup"), {"silent", "nogui"}, {}, errors);
  ASSERT_TRUE(setup.Started());
  EXPECT_EQ(setup.WaitForExit(60s), 1);
  const std::vector<std::string> said = {
      "OstrelSetup: Ostrel could not be installed: the uninstall entry could not be written."};
  EXPECT_EQ(ErrorLines(errors), said);
  EXPECT_EQ(ReadRegistryString(ProductKey() / "fl"), "");
}

TEST_F(SetupRun, UninstallerRunForAnUpdateEndsAtOnceAndKeepsTheIdentity) {
  fs::create_directories(ProductKey());
  { std::ofstream(ProductKey() / "uuid", std::ios::binary) << "REG_SZ\n{00000000-0000-4000-8000-000000000001}"; }
  SandboxProcess uninstaller(sandbox_, InstallCopy("Uninstall"), {"update"});
  ASSERT_TRUE(uninstaller.Started());
  EXPECT_EQ(uninstaller.WaitForExit(30s), 0);
  EXPECT_EQ(ReadRegistryString(ProductKey() / "uuid"), "{00000000-0000-4000-8000-000000000001}");
  EXPECT_FALSE(fs::exists(ProductKey() / "fl")) << "the uninstaller creates nothing";
}

}  // namespace
}  // namespace ostrel::e2e
