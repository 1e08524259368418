// The Windows backend against the system itself, run under Wine in CI.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "setup/platform/Drives.h"
#include "setup/platform/ExecutableResources.h"
#include "setup/platform/FileSystem.h"
#include "setup/platform/ProcessRunner.h"
#include "setup/platform/Registry.h"
#include "setup/platform/Removal.h"
#include "setup/platform/RunningProductSignal.h"
#include "setup/platform/SelfDelete.h"
#include "setup/platform/Services.h"
#include "setup/platform/ShellFolders.h"
#include "setup/platform/ShellLink.h"
#include "setup/platform/StopByName.h"
#include "setup/platform/System.h"
#include "setup/platform/TemporaryFolder.h"
#include "setup/platform/win32/PrivateFolder.h"
#include "setup/platform/win32/WideText.h"
#include "setup/platform/win32/WindowsSystem.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

// The system's macros of these names hide the library's own.
#undef GetDriveType
#undef IShellLink
#undef CSIDL_DESKTOP
#undef CSIDL_APPDATA

namespace {

namespace fs = std::filesystem;
namespace platform = ostrel::platform;
using namespace std::chrono_literals;

// A path of the build as the Windows side sees it: the Unix root is drive Z:.
std::string WindowsPath(std::string path) {
  if (path.empty() || path.front() != '/') return path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return "Z:" + path;
}

std::string Utf8(const fs::path& path) { return platform::win32::ToUtf8(path.wstring()); }

class Scratch {
 public:
  Scratch() {
    const auto folder = temporary_->Path();
    if (folder) root_ = fs::path(platform::win32::ToWide(*folder).value());
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  const fs::path& Root() const { return root_; }
  fs::path operator/(const std::wstring& name) const { return root_ / name; }

 private:
  std::unique_ptr<platform::ITemporaryFolder> temporary_ = platform::CreateTemporaryFolder();
  fs::path root_;
};

void WriteFile(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// ---- registry ------------------------------------------------------------

TEST(WindowsRegistry, RoundTripInTheCurrentUsersHiveWithThe64BitView) {
  const platform::Services services = platform::CreateNativeServices();
  platform::IRegistry& registry = *services.registry;
  const std::string key = "Software\\OstrelTest\\Round Trip";
  registry.DeleteKey("Software\\OstrelTest");
  EXPECT_FALSE(registry.OpenKey(key, platform::RegistryAccess::ReadOnly)) << "a read-only open never creates";
  {
    const auto written = registry.OpenKey(key, platform::RegistryAccess::All);
    ASSERT_TRUE(written);
    EXPECT_TRUE(written->WriteString("uuid", "{0F1E2D3C-4B5A-4697-8877-665544332211}"));
    EXPECT_TRUE(written->WriteString("fl", "日本語 web"));
    EXPECT_TRUE(written->WriteString("empty", ""));
    EXPECT_FALSE(written->WriteString("bad", "\xC3\x28")) << "bytes that are not UTF-8 are refused";
  }
  const auto read = registry.OpenKey(key, platform::RegistryAccess::ReadOnly);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->ReadString("uuid"), "{0F1E2D3C-4B5A-4697-8877-665544332211}");
  EXPECT_EQ(read->ReadString("fl"), "日本語 web");
  EXPECT_EQ(read->ReadString("empty"), "");
  EXPECT_EQ(read->ReadString("missing"), std::nullopt);
  EXPECT_FALSE(read->WriteString("x", "y")) << "a read-only key takes no writes";

  // The 64-bit view is the one the key landed in; another type reads as missing.
  HKEY raw = nullptr;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\OstrelTest\\Round Trip", 0,
                            KEY_SET_VALUE | KEY_WOW64_64KEY, &raw),
            ERROR_SUCCESS);
  const DWORD number = 7;
  ::RegSetValueExW(raw, L"number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  ::RegCloseKey(raw);
  EXPECT_EQ(read->ReadString("number"), std::nullopt);

  EXPECT_TRUE(registry.DeleteKey("Software\\OstrelTest"));
  EXPECT_FALSE(registry.OpenKey(key, platform::RegistryAccess::ReadOnly));
  EXPECT_FALSE(registry.DeleteKey("Software\\OstrelTest")) << "nothing left to delete";
}

// ---- shell folders, drives, system --------------------------------------

TEST(WindowsShell, SpecialFoldersDrivesAndTheProgramsOwnPath) {
  const platform::Services services = platform::CreateNativeServices();
  for (const int csidl : {platform::CSIDL_DESKTOP, platform::CSIDL_APPDATA}) {
    const std::string folder = services.shellFolders->GetFolderPath(csidl);
    ASSERT_FALSE(folder.empty()) << csidl;
    EXPECT_NE(folder.back(), '\\');
    EXPECT_EQ(folder.substr(1, 2), ":\\");
    EXPECT_TRUE(platform::DirectoryExists(folder)) << folder;
  }
  const std::vector<std::string> roots = services.drives->LogicalDriveRoots();
  ASSERT_FALSE(roots.empty());
  bool fixedC = false;
  for (const std::string& root : roots) {
    EXPECT_EQ(root.size(), 3u);
    fixedC = fixedC || (root == "C:\\" && services.drives->GetDriveType(root) == platform::DriveType::dtFixed);
  }
  EXPECT_TRUE(fixedC) << "the system drive is a fixed drive";
  EXPECT_EQ(services.drives->GetDriveType("?:\\"), platform::DriveType::dtNoRootDir);
  EXPECT_TRUE(services.system->ExecutablePath().ends_with("setup_platform_Win32Backend_test.exe"));
}

// The text form's first three fields are numbers stored little-endian.
TEST(WindowsSystem, GuidBytesFollowTheTextForm) {
  GUID guid{};
  ASSERT_EQ(::CLSIDFromString(L"{00021401-0000-0000-C000-000000000046}", &guid), NOERROR);
  const platform::GuidBytes bytes = platform::win32::GuidTextOrder(guid);
  const platform::GuidBytes expected = {0x00, 0x02, 0x14, 0x01, 0x00, 0x00, 0x00, 0x00,
                                        0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
  EXPECT_EQ(bytes, expected);
  const platform::Services services = platform::CreateNativeServices();
  EXPECT_NE(services.system->NewGuid(), services.system->NewGuid());
}

// An elevated run could end other users' processes of the product's name:
// the stop names this account, which the system resolves from the token.
TEST(WindowsSystem, StopByNameReachesThisAccountOnly) {
  const std::string account = platform::CurrentUserAccount();
  ASSERT_FALSE(account.empty());
  EXPECT_NE(account.find('\\'), std::string::npos) << account;
  EXPECT_EQ(account.find('"'), std::string::npos) << account;
  EXPECT_EQ(platform::StopByNameCommandLine("osd", platform::PathStyle::Windows),
            "taskkill.exe /f /fi \"USERNAME eq " + account + "\" /im osd.exe");
}

// ---- runner --------------------------------------------------------------

std::string Child(const std::string& arguments) {
  return "\"" + WindowsPath(OSTREL_RUNNER_CHILD) + "\" " + arguments;
}

std::string Text(const platform::ProcessOutcome& outcome) {
  return std::string(reinterpret_cast<const char*>(outcome.output.data()), outcome.output.size());
}

TEST(WindowsRunner, OutputExitCodeAndMissingProgram) {
  const struct {
    std::string arguments;
    std::uint32_t exitCode;
    std::string output;
  } cases[] = {
      {"print hello", 0, "hello\r\n"},
      {"exit 7", 7, ""},
      {"exit 3221225477", 3221225477u, ""},
  };
  for (const auto& c : cases) {
    platform::ProcessRequest request;
    request.commandLine = Child(c.arguments);
    const platform::ProcessOutcome outcome = platform::RunCapturedProcess(request);
    EXPECT_TRUE(outcome.started) << c.arguments;
    EXPECT_EQ(outcome.exitCode, c.exitCode) << c.arguments;
    EXPECT_EQ(Text(outcome), c.output) << c.arguments;
  }
  platform::ProcessRequest missing;
  missing.commandLine = "\"C:\\no\\such\\program.exe\" x";
  EXPECT_FALSE(platform::RunCapturedProcess(missing).started);
}

// More than a pipe holds between two passes arrives whole, in order.
TEST(WindowsRunner, CollectsMoreOutputThanThePipeHolds) {
  platform::ProcessRequest request;
  request.commandLine = Child("bulk 300000");
  const platform::ProcessOutcome outcome = platform::RunCapturedProcess(request);
  EXPECT_EQ(outcome.output.size(), 303000u) << "3000 lines of 99 characters and CR LF";
  EXPECT_EQ(outcome.exitCode, 0u);
}

// The limit counts clock seconds: a clock that moves on ends the child
// without waiting the limit out in real time.
TEST(WindowsRunner, ChildOverItsTimeLimitIsEnded) {
  std::int64_t now = 1000;
  platform::ProcessRequest request;
  request.commandLine = Child("sleep 60");
  request.timeLimitSeconds = 2;
  request.clock = [&now] { return now++; };
  const auto start = std::chrono::steady_clock::now();
  const platform::ProcessOutcome outcome = platform::RunCapturedProcess(request);
  EXPECT_TRUE(outcome.timedOut);
  EXPECT_EQ(outcome.exitCode, 0u);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 30s);
}

// An inheritable handle of this process, say a pipe another thread made for
// its own child, must not leak into this child.
TEST(WindowsRunner, ChildGetsOnlyItsOwnPipe) {
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE event = ::CreateEventW(&inheritable, TRUE, FALSE, nullptr);
  ASSERT_NE(event, nullptr);
  platform::ProcessRequest request;
  request.commandLine = Child("inherits " + std::to_string(reinterpret_cast<std::uintptr_t>(event)));
  const platform::ProcessOutcome outcome = platform::RunCapturedProcess(request);
  ::CloseHandle(event);
  ASSERT_TRUE(outcome.started);
  EXPECT_EQ(outcome.exitCode, 0u) << "the child could use a handle it was never given";
}

// ---- resources -------------------------------------------------------------

TEST(WindowsResources, FoundByNameIgnoringCaseAndSavedWhole) {
  const auto resources = platform::ExecutableResources::Open(WindowsPath(OSTREL_PACKED_SETUP));
  for (const char* name : {"ver", "VER", "Ver"}) {
    const auto version = resources->Find(name);
    ASSERT_TRUE(version) << name;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(version->data()), version->size()), "2.0");
  }
  const auto extractor = resources->Find("7za");
  ASSERT_TRUE(extractor);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(extractor->data()), 2), "MZ");
  const auto archive = resources->Find("pak");
  ASSERT_TRUE(archive);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(archive->data()), 6), "7z\xBC\xAF\x27\x1C");
  EXPECT_FALSE(resources->Find("gui"));
  EXPECT_FALSE(resources->Find("#1")) << "a number is no name";

  Scratch scratch;
  const fs::path saved = scratch / L"7za.exe";
  ASSERT_TRUE(resources->SaveToFile("7ZA", Utf8(saved), {.createNew = true}));
  EXPECT_EQ(fs::file_size(saved), extractor->size());
  EXPECT_FALSE(resources->SaveToFile("7za", Utf8(saved), {.createNew = true})) << "createNew keeps what is there";
  EXPECT_FALSE(resources->SaveToFile("none", Utf8(scratch / L"none.bin")));
  EXPECT_FALSE(fs::exists(scratch / L"none.bin"));
}

// The uninstaller's copy keeps the program and the resources it reads, not
// the payload or the extractor, and has no name until it is published.
TEST(WindowsResources, ProgramCopyCarriesOnlyTheKeptResources) {
  const auto resources = platform::ExecutableResources::Open(WindowsPath(OSTREL_PACKED_SETUP));
  Scratch scratch;
  constexpr std::string_view kKeep[] = {"ver", "gui"};
  const auto count = [&scratch] { return std::distance(fs::directory_iterator(scratch.Root()), {}); };

  auto dropped = resources->StageProgramCopy(Utf8(scratch.Root()), kKeep);
  ASSERT_TRUE(dropped);
  dropped.reset();
  EXPECT_EQ(count(), 0) << "an unpublished copy leaves nothing";

  const fs::path uninstaller = scratch / L"Uninstall.exe";
  WriteFile(uninstaller, "user's");
  auto copy = resources->StageProgramCopy(Utf8(scratch.Root()), kKeep);
  ASSERT_TRUE(copy);
  EXPECT_FALSE(copy->Publish(Utf8(uninstaller))) << "a taken name stays as it was";
  EXPECT_EQ(fs::file_size(uninstaller), 6u);
  EXPECT_EQ(count(), 1);
  fs::remove(uninstaller);

  copy = resources->StageProgramCopy(Utf8(scratch.Root()), kKeep);
  ASSERT_TRUE(copy && copy->Publish(Utf8(uninstaller)));
  EXPECT_EQ(count(), 1);
  EXPECT_EQ(::GetFileAttributesW(uninstaller.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
  const auto archive = resources->Find("pak");
  ASSERT_TRUE(archive);
  EXPECT_LT(fs::file_size(uninstaller) + archive->size(), fs::file_size(WindowsPath(OSTREL_PACKED_SETUP)));
  const auto copied = platform::ExecutableResources::Open(Utf8(uninstaller));
  const auto version = copied->Find("ver");
  ASSERT_TRUE(version);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(version->data()), version->size()), "2.0");
  EXPECT_FALSE(copied->Find("pak"));
  EXPECT_FALSE(copied->Find("7za"));
}

// ---- files, removal, temporary folder ------------------------------------

TEST(WindowsFiles, PrivateFolderUniqueFilesAndGuardedRemovals) {
  const auto temporary = platform::CreateTemporaryFolder();
  const auto folder = temporary->Path();
  ASSERT_TRUE(folder);
  EXPECT_TRUE(folder->ends_with("\\"));
  EXPECT_NE(folder->find("\\ostrel-"), std::string::npos);
  const auto first = temporary->CreateUniqueFile("tmp");
  const auto second = temporary->CreateUniqueFile("tmp");
  ASSERT_TRUE(first && second);
  EXPECT_NE(*first, *second);
  EXPECT_TRUE(platform::FileExists(*first));
  EXPECT_FALSE(temporary->Release()) << "a folder with files in it stays";
  EXPECT_TRUE(platform::RemoveFile(*first) && platform::RemoveFile(*second));
  EXPECT_TRUE(temporary->Release());
  EXPECT_FALSE(platform::DirectoryExists(*folder));

  Scratch scratch;
  const std::string install = Utf8(scratch / L"Ostrel") + "\\";
  ASSERT_TRUE(platform::ForceDirectories(install + "a\\b"));
  WriteFile(scratch / L"Ostrel" / L"lang" / L"日本語.lang", "x");
  WriteFile(scratch / L"Ostrel" / L"wizard" / L"sub" / L"user.txt", "x");
  ::SetFileAttributesW((scratch / L"Ostrel" / L"wizard" / L"sub" / L"user.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  WriteFile(scratch / L"Ostrel" / L"osd.exe", "x");
  EXPECT_FALSE(platform::DeleteFileBelow(install, "lang")) << "a folder is no file";
  EXPECT_TRUE(platform::DeleteFileBelow(install, "lang\\日本語.lang"));
  EXPECT_TRUE(platform::RemoveEmptyFolderBelow(install, "lang"));
  EXPECT_FALSE(platform::RemoveEmptyFolderBelow(install, "a")) << "not empty";
  EXPECT_TRUE(platform::RemoveFolderTreeBelow(install, "wizard"));
  EXPECT_FALSE(platform::DirectoryExists(install + "wizard"));
  EXPECT_FALSE(platform::DeleteFileBelow(install, "..\\Ostrel\\osd.exe")) << "no way out of the folder";
  EXPECT_TRUE(platform::FileExists(install + "osd.exe"));

  EXPECT_TRUE(platform::CopyFileTo(install + "osd.exe", install + "copy.exe", true));
  EXPECT_FALSE(platform::CopyFileTo(install + "osd.exe", install + "copy.exe", true));
  EXPECT_FALSE(platform::MoveFileTo(install + "osd.exe", install + "copy.exe")) << "a move never replaces";
  EXPECT_TRUE(platform::MoveFileTo(install + "osd.exe", install + "moved.exe"));
}

// A run ended before it could clean up leaves its private folder; a later
// run removes it, and nothing of a run still going or of anyone else.
TEST(WindowsFiles, LeftoverPrivateFoldersOfEndedRunsAreRemoved) {
  Scratch scratch;
  platform::win32::PrivateTemporaryFolder running(scratch.Root().wstring());
  const auto own = running.Path();
  ASSERT_TRUE(own);
  // An id no process has now, or one whose process was made at another time.
  WriteFile(scratch / L"ostrel-4000000-1-00aa" / L"7za.exe", "x");
  WriteFile(scratch / (L"ostrel-" + std::to_wstring(::GetCurrentProcessId()) + L"-1-00bb") / L"tmp.tmp", "x");
  for (const wchar_t* name : {L"ostrel-x-1-00cc", L"ostrelsetup", L"other"}) fs::create_directories(scratch / name);

  platform::win32::PrivateTemporaryFolder later(scratch.Root().wstring());
  later.RemoveLeftovers();
  EXPECT_FALSE(fs::exists(scratch / L"ostrel-4000000-1-00aa"));
  EXPECT_FALSE(fs::exists(scratch / (L"ostrel-" + std::to_wstring(::GetCurrentProcessId()) + L"-1-00bb")));
  EXPECT_TRUE(platform::DirectoryExists(*own)) << "its owner is still at work";
  for (const wchar_t* name : {L"ostrel-x-1-00cc", L"ostrelsetup", L"other"}) {
    EXPECT_TRUE(fs::exists(scratch / name)) << Utf8(name);
  }
}

// ---- shortcuts -------------------------------------------------------------

TEST(WindowsShellLink, SavedShortcutResolvesToItsTargetAndFolder) {
  Scratch scratch;
  const std::string target = Utf8(scratch / L"Ostrel folder" / L"Ostrel.exe");
  const std::string folder = Utf8(scratch / L"Ostrel folder") + "\\";
  WriteFile(scratch / L"Ostrel folder" / L"Ostrel.exe", "x");
  const fs::path shortcut = scratch / L"Ostrel.lnk";
  {
    const auto link = platform::CreateShellLink();
    ASSERT_TRUE(link);
    EXPECT_TRUE(link->SetPath(target));
    EXPECT_TRUE(link->SetWorkingDirectory(folder));
    EXPECT_TRUE(link->Save(Utf8(shortcut)));
  }
  ASSERT_TRUE(fs::exists(shortcut));

  ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  ASSERT_TRUE(SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                           reinterpret_cast<void**>(&link))));
  ASSERT_TRUE(SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))));
  ASSERT_TRUE(SUCCEEDED(file->Load(shortcut.c_str(), STGM_READ)));
  wchar_t path[MAX_PATH] = {};
  wchar_t workingFolder[MAX_PATH] = {};
  EXPECT_TRUE(SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH)));
  EXPECT_TRUE(SUCCEEDED(link->GetWorkingDirectory(workingFolder, MAX_PATH)));
  file->Release();
  link->Release();
  ::CoUninitialize();
  EXPECT_EQ(platform::win32::ToUtf8(path), target);
  EXPECT_EQ(platform::win32::ToUtf8(workingFolder), folder);
}

// ---- the running product -------------------------------------------------

// Starts the demo product hidden and waits until its mapping is there.
class RunningProduct {
 public:
  explicit RunningProduct(bool ignoreQuit) {
    ::SetEnvironmentVariableW(L"OSTREL_DEMO_IGNORE_QUIT", ignoreQuit ? L"1" : nullptr);
    std::wstring line = L"\"" + platform::win32::ToWide(WindowsPath(OSTREL_PRODUCT)).value() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
      process_ = info.hProcess;
      ::CloseHandle(info.hThread);
    }
    ::SetEnvironmentVariableW(L"OSTREL_DEMO_IGNORE_QUIT", nullptr);
    for (int i = 0; i < 200 && process_ != nullptr && !platform::IsProductRunning("Ostrel"); ++i) ::Sleep(50);
  }
  ~RunningProduct() {
    if (process_ == nullptr) return;
    ::TerminateProcess(process_, 1);
    ::WaitForSingleObject(process_, 5000);
    ::CloseHandle(process_);
  }
  bool Ended(DWORD waitMs) const { return ::WaitForSingleObject(process_, waitMs) == WAIT_OBJECT_0; }

 private:
  HANDLE process_ = nullptr;
};

TEST(WindowsProductSignal, ProductWindowGetsMessage1027AndItsMappingGoes) {
  ASSERT_FALSE(platform::IsProductRunning("Ostrel"));
  EXPECT_EQ(platform::SendQuitMessage("Ostrel", 1s), platform::QuitAnswer::NotRunning);
  RunningProduct product(false);
  ASSERT_TRUE(platform::IsProductRunning("Ostrel"));
  EXPECT_FALSE(platform::ProductSignalListener::Listen("Ostrel")) << "a second instance must not take over";
  EXPECT_EQ(platform::SendQuitMessage("Ostrel", 5s), platform::QuitAnswer::Answered);
  EXPECT_TRUE(product.Ended(10000));
  EXPECT_FALSE(platform::IsProductRunning("Ostrel"));
  EXPECT_EQ(platform::SendQuitMessage("Ostrel", 1s), platform::QuitAnswer::NotRunning);
}

TEST(WindowsProductSignal, ProductThatIgnoresTheMessageStaysAndAnUnservedWindowTimesOut) {
  {
    RunningProduct product(true);
    ASSERT_TRUE(platform::IsProductRunning("Ostrel"));
    for (int i = 0; i < 2; ++i) EXPECT_EQ(platform::SendQuitMessage("Ostrel", 5s), platform::QuitAnswer::Answered);
    EXPECT_FALSE(product.Ended(200));
  }
  // This thread keeps the listener but never serves it: the send is bounded.
  const auto listener = platform::ProductSignalListener::Listen("Ostrel");
  ASSERT_TRUE(listener);
  platform::QuitAnswer answer = platform::QuitAnswer::Answered;
  std::thread sender([&] { answer = platform::SendQuitMessage("Ostrel", 300ms); });
  sender.join();
  EXPECT_EQ(answer, platform::QuitAnswer::NoAnswer);
}

// ---- self-delete -----------------------------------------------------------

// The batch file, started as the uninstaller starts it, removes the file
// once nothing holds it and then itself; a path with letters outside the
// console's code page and the interpreter's '&' reaches it whole. (Wine's
// interpreter, unlike the system's, expands a value's '%' once more, so a
// '%' in the path is left to the batch text's own test.)
TEST(WindowsSelfDelete, BatchFileRemovesTheFileAfterItsHolderLetsGo) {
  Scratch scratch;
  const fs::path victim = scratch / L"Übung & 日本" / L"Uninstall.exe";
  WriteFile(victim, "x");
  const fs::path keep = scratch / L"Übung";
  WriteFile(keep, "must stay");
  HANDLE held = ::CreateFileW(victim.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);

  const fs::path batch = scratch / L"_deleteme-test.bat";
  WriteFile(batch, platform::SelfDeleteBatchText());
  ::SetEnvironmentVariableW(L"OSTREL_SELF_DELETE", victim.c_str());
  const auto started = reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, L"open", batch.c_str(), nullptr, nullptr, SW_HIDE));
  ::SetEnvironmentVariableW(L"OSTREL_SELF_DELETE", nullptr);
  ASSERT_GT(started, 32);
  ::Sleep(1500);
  EXPECT_TRUE(fs::exists(victim)) << "deleted while still held";
  ::CloseHandle(held);
  for (int i = 0; i < 300 && (fs::exists(victim) || fs::exists(batch)); ++i) ::Sleep(100);
  EXPECT_FALSE(fs::exists(victim));
  EXPECT_FALSE(fs::exists(batch)) << "the batch file removes itself";
  EXPECT_TRUE(fs::exists(keep));
}

}  // namespace
