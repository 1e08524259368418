// The packed Windows setup run the way a user's silent install and the
// system's program list run it: install, update, uninstall, self-delete.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "setup/core/Startup.h"
#include "setup/platform/Registry.h"
#include "setup/platform/RunningProductSignal.h"
#include "setup/platform/Services.h"
#include "setup/platform/ShellFolders.h"
#include "setup/platform/win32/WideText.h"

#include <windows.h>

#undef CSIDL_DESKTOP
#undef CSIDL_APPDATA

namespace {

namespace fs = std::filesystem;
namespace platform = ostrel::platform;
using ostrel::setup::kUninstallKey;

std::wstring WindowsPath(std::string path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return platform::win32::ToWide("Z:" + path).value();
}

struct Outcome {
  DWORD exitCode = STILL_ACTIVE;
  std::string output;
};

// Runs the program with its output captured and waits at most `limitMs`.
Outcome RunProgram(const fs::path& program, const std::wstring& arguments, DWORD limitMs = 120000) {
  Outcome run;
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!::CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) return run;
  ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  std::wstring line = L"\"" + program.wstring() + L"\" " + arguments;
  PROCESS_INFORMATION process{};
  const bool started = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        program.parent_path().c_str(), &startup, &process);
  ::CloseHandle(writeEnd);
  if (started) {
    char buffer[4096];
    DWORD got = 0;
    const ULONGLONG deadline = ::GetTickCount64() + limitMs;
    while (::GetTickCount64() < deadline) {
      DWORD waiting = 0;
      if (::PeekNamedPipe(readEnd, nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0 &&
          ::ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr)) {
        run.output.append(buffer, got);
      }
      if (::WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0) break;
    }
    DWORD waiting = 0;
    while (::PeekNamedPipe(readEnd, nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0 &&
           ::ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) {
      run.output.append(buffer, got);
    }
    ::GetExitCodeProcess(process.hProcess, &run.exitCode);
    if (run.exitCode == STILL_ACTIVE) ::TerminateProcess(process.hProcess, 1);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
  }
  ::CloseHandle(readEnd);
  return run;
}

class WindowsSetup : public ::testing::Test {
 protected:
  WindowsSetup() : services_(platform::CreateNativeServices()) {
    home_ = fs::path(platform::win32::ToWide(services_.shellFolders->GetFolderPath(platform::CSIDL_APPDATA)).value());
    desktop_ = fs::path(platform::win32::ToWide(services_.shellFolders->GetFolderPath(platform::CSIDL_DESKTOP)).value());
    download_ = home_.parent_path() / L"Local" / L"Temp" / L"ostrel-e2e-download";
    CleanUp();
    fs::create_directories(download_);
  }
  ~WindowsSetup() override { CleanUp(); }

  void CleanUp() {
    for (int i = 0; i < 50 && platform::SendQuitMessage("Ostrel", std::chrono::seconds(2)) != platform::QuitAnswer::NotRunning; ++i) {
      ::Sleep(100);
    }
    services_.registry->DeleteKey(kUninstallKey);
    std::error_code ignored;
    fs::remove_all(Install(), ignored);
    fs::remove_all(download_, ignored);
    fs::remove(desktop_ / L"Ostrel.lnk", ignored);
    fs::remove(StartMenu() / L"Ostrel.lnk", ignored);
  }

  fs::path Install() const { return home_ / L"Ostrel"; }
  fs::path StartMenu() const { return home_ / L"Microsoft" / L"Windows" / L"Start Menu" / L"Programs"; }
  std::optional<std::string> EntryValue(const std::string& name) const {
    const auto key = services_.registry->OpenKey(kUninstallKey, platform::RegistryAccess::ReadOnly);
    return key ? key->ReadString(name) : std::nullopt;
  }
  fs::path Setup(const char* packed, const wchar_t* name) const {
    const fs::path copy = download_ / name;
    fs::copy_file(WindowsPath(packed), copy, fs::copy_options::overwrite_existing);
    return copy;
  }
  bool WaitUntilGone(const fs::path& path, int tenths) const {
    for (int i = 0; i < tenths && fs::exists(path); ++i) ::Sleep(100);
    return !fs::exists(path);
  }
  // The setup starts the product and ends at once; the product puts up its
  // signal a moment later, over a second on a busy machine. An uninstaller
  // that asks before then finds no product, and its stop by name does
  // nothing under Wine, whose taskkill refuses the user filter: the product
  // would come up after the asks and keep its files. So a test that
  // uninstalls waits for the product it installed, as a user sees it start.
  static bool ProductComesUp() {
    for (int i = 0; i < 100 && !platform::IsProductRunning("Ostrel"); ++i) ::Sleep(100);
    return platform::IsProductRunning("Ostrel");
  }

  platform::Services services_;
  fs::path home_, desktop_, download_;
};

TEST_F(WindowsSetup, SilentInstallUpdateAndUninstall) {
  const Outcome install = RunProgram(Setup(OSTREL_PACKED_SETUP, L"OstrelSetup.web.exe"), L"silent nogui");
  ASSERT_EQ(install.exitCode, 0u) << install.output;

  const std::string folder = platform::win32::ToUtf8(Install().wstring()) + "\\";
  for (const wchar_t* file : {L"Ostrel.exe", L"osd.exe", L"os-trel", L"MicrosoftEdgeWebview2Setup.exe",
                              L"Uninstall.exe", L"lang\\日本語.lang", L"wizard\\wizard.dat", L"driver\\driver.inf"}) {
    EXPECT_TRUE(fs::is_regular_file(Install() / file)) << platform::win32::ToUtf8(file);
  }
  EXPECT_FALSE(fs::exists(Install() / L"Uninstall.exe.new"));
  EXPECT_EQ(EntryValue("DisplayIcon"), folder + "Ostrel.exe");
  EXPECT_EQ(EntryValue("DisplayName"), "Ostrel");
  EXPECT_EQ(EntryValue("DisplayVersion"), "2.0");
  EXPECT_TRUE(EntryValue("Publisher").has_value());
  EXPECT_EQ(EntryValue("UninstallString"), folder + "Uninstall.exe");
  const auto identity = services_.registry->OpenKey("Software\\Ostrel", platform::RegistryAccess::ReadOnly);
  ASSERT_TRUE(identity);
  EXPECT_EQ(identity->ReadString("uuid").value_or("").size(), 38u);
  EXPECT_TRUE(fs::exists(desktop_ / L"Ostrel.lnk"));
  EXPECT_TRUE(fs::exists(StartMenu() / L"Ostrel.lnk"));
  EXPECT_TRUE(ProductComesUp()) << "the installed product was started";

  // An update runs the old uninstaller with "update" and installs over it.
  const Outcome update = RunProgram(Setup(OSTREL_PACKED_SETUP_2_1, L"OstrelSetup.exe"), L"silent nogui");
  ASSERT_EQ(update.exitCode, 0u) << update.output;
  EXPECT_EQ(EntryValue("DisplayVersion"), "2.1");
  EXPECT_EQ(EntryValue("UninstallString"), folder + "Uninstall.exe");
  EXPECT_TRUE(fs::is_regular_file(Install() / L"Ostrel.exe"));
  EXPECT_TRUE(ProductComesUp()) << "the updated product was started";

  // The uninstaller as a silent removal runs it: the product is asked to
  // quit, the named items go, and the uninstaller's own file after it ends.
  const Outcome uninstall = RunProgram(Install() / L"Uninstall.exe", L"silent");
  ASSERT_EQ(uninstall.exitCode, 0u) << uninstall.output;
  EXPECT_FALSE(platform::IsProductRunning("Ostrel"));
  for (const wchar_t* file : {L"Ostrel.exe", L"osd.exe", L"os-trel", L"lang", L"wizard", L"driver"}) {
    EXPECT_FALSE(fs::exists(Install() / file)) << platform::win32::ToUtf8(file);
  }
  EXPECT_FALSE(EntryValue("UninstallString").has_value());
  EXPECT_FALSE(fs::exists(desktop_ / L"Ostrel.lnk"));
  EXPECT_FALSE(fs::exists(StartMenu() / L"Ostrel.lnk"));
  EXPECT_TRUE(services_.registry->OpenKey("Software\\Ostrel", platform::RegistryAccess::ReadOnly))
      << "the identity stays for a later installation";
  EXPECT_TRUE(WaitUntilGone(Install() / L"Uninstall.exe", 300)) << "the batch file removes the uninstaller";
}

// The setup runs the old uninstaller with "update" and then writes its own
// uninstaller in the same place: the old one must not leave a batch file
// behind that deletes whatever stands there once it has ended.
TEST_F(WindowsSetup, UninstallerRunForAnUpdateLeavesItsFileToTheSetup) {
  const Outcome install = RunProgram(Setup(OSTREL_PACKED_SETUP, L"OstrelSetup.exe"), L"silent nogui");
  ASSERT_EQ(install.exitCode, 0u) << install.output;
  ASSERT_TRUE(ProductComesUp());

  const Outcome update = RunProgram(Install() / L"Uninstall.exe", L"update");
  ASSERT_EQ(update.exitCode, 0u) << update.output;
  EXPECT_FALSE(fs::exists(Install() / L"Ostrel.exe"));
  EXPECT_FALSE(EntryValue("UninstallString").has_value());
  EXPECT_FALSE(fs::exists(desktop_ / L"Ostrel.lnk"));
  // A batch file would have deleted it within a second or two of the end.
  EXPECT_FALSE(WaitUntilGone(Install() / L"Uninstall.exe", 40));
}

// This build has no window: a run that would show one says so and fails.
TEST_F(WindowsSetup, RunThatNeedsTheWindowFailsWithAReason) {
  const Outcome interactive = RunProgram(Setup(OSTREL_PACKED_SETUP, L"OstrelSetup.exe"), L"");
  EXPECT_EQ(interactive.exitCode, 1u);
  EXPECT_NE(interactive.output.find("silent nogui"), std::string::npos) << interactive.output;
  EXPECT_FALSE(EntryValue("UninstallString").has_value());
}

}  // namespace
