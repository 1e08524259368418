#include "setup/platform/posix/FileRegistry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace ostrel::platform::posix {
namespace {

namespace fs = std::filesystem;

class FileRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("registry-test-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    hive_ = root_ / "HKEY_CURRENT_USER";
  }
  void TearDown() override { fs::remove_all(root_); }

  static void WriteRaw(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary);
    out << bytes;
  }

  fs::path root_;
  fs::path hive_;
  FileRegistry Registry() const { return FileRegistry(hive_.string()); }
};

TEST_F(FileRegistryTest, KeysAreFoldersAndValuesAreTaggedFiles) {
  FileRegistry registry = Registry();
  auto key = registry.OpenKey("Software\\Ostrel", RegistryAccess::All);
  ASSERT_TRUE(key);
  EXPECT_TRUE(key->WriteString("uuid", "{ABC}"));
  EXPECT_TRUE(key->WriteString("fl", ""));
  EXPECT_TRUE(key->WriteString("uuid", "{DEF}"));
  EXPECT_EQ(key->ReadString("uuid"), "{DEF}") << "the key reads what it wrote before it is flushed";
  ASSERT_TRUE(key->Flush());

  std::ifstream in(hive_ / "Software" / "Ostrel" / "uuid", std::ios::binary);
  const std::string stored((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(stored, "REG_SZ\n{DEF}");

  auto reader = registry.OpenKey("Software\\Ostrel", RegistryAccess::ReadOnly);
  ASSERT_TRUE(reader);
  EXPECT_EQ(reader->ReadString("uuid"), "{DEF}");
  EXPECT_EQ(reader->ReadString("fl"), "");
  EXPECT_EQ(reader->ReadString("missing"), std::nullopt);
  EXPECT_FALSE(reader->WriteString("uuid", "x")) << "a read-only key refuses writes";
  EXPECT_EQ(reader->ReadString("uuid"), "{DEF}");

  for (const fs::path& created : {root_, hive_, hive_ / "Software"}) {
    EXPECT_EQ(fs::status(created).permissions() & (fs::perms::group_all | fs::perms::others_all), fs::perms::none)
        << created << " is open to other users";
  }

  std::vector<std::string> leftovers;
  for (const auto& entry : fs::directory_iterator(hive_ / "Software" / "Ostrel")) {
    if (entry.path().filename().string().starts_with(".")) leftovers.push_back(entry.path().filename());
  }
  EXPECT_TRUE(leftovers.empty()) << "temporary files stay behind";
}

TEST_F(FileRegistryTest, ReadOnlyOpenNeitherCreatesNorFindsMissingKeys) {
  FileRegistry registry = Registry();
  EXPECT_FALSE(registry.OpenKey("Software\\Ostrel", RegistryAccess::ReadOnly));
  EXPECT_FALSE(fs::exists(hive_));
  EXPECT_FALSE(registry.OpenKey("Software\\\\Ostrel", RegistryAccess::All)) << "empty key part";
  EXPECT_FALSE(registry.OpenKey("Software\\", RegistryAccess::All));
}

TEST_F(FileRegistryTest, ValuesOfAnotherTypeOrUnreadableCountAsMissing) {
  FileRegistry registry = Registry();
  auto key = registry.OpenKey("Software\\Ostrel", RegistryAccess::All);
  ASSERT_TRUE(key);
  const fs::path folder = hive_ / "Software" / "Ostrel";
  WriteRaw(folder / "dword", "REG_DWORD\n1");
  WriteRaw(folder / "untagged", "{ABC}");
  fs::create_directory(folder / "folder");
  WriteRaw(folder / "target", "REG_SZ\nsecret");
  fs::create_symlink(folder / "target", folder / "link");
  ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
  WriteRaw(folder / "huge", "REG_SZ\n" + std::string(FileRegistry::kMaxValueBytes, 'x'));
  WriteRaw(folder / "latin1",
           "REG_SZ\nD:\\Programme\\\xDC"
           "ber");
  WriteRaw(folder / "surrogate", "REG_SZ\n\xED\xA0\x80");
  WriteRaw(folder / "chinese", "REG_SZ\n\xE7\xAE\x80\xE4\xBD\x93");

  EXPECT_EQ(key->ReadString("chinese"), "\xE7\xAE\x80\xE4\xBD\x93");
  for (const char* name : {"dword", "untagged", "folder", "link", "fifo", "huge", "latin1", "surrogate"}) {
    EXPECT_EQ(key->ReadString(name), std::nullopt) << name;
  }
  EXPECT_TRUE(key->WriteString("dword", "now a string"));
  EXPECT_EQ(key->ReadString("dword"), "now a string");
}

// What the reader would refuse is never written: it would read back as
// missing and be written again by every later run.
TEST_F(FileRegistryTest, ValuesThatAreNoTextAreRefused) {
  FileRegistry registry = Registry();
  auto key = registry.OpenKey("Software\\Ostrel", RegistryAccess::All);
  ASSERT_TRUE(key);
  ASSERT_TRUE(key->WriteString("fl", "web"));
  for (const char* bytes : {"w\xff" "b", "\xED\xA0\x80", "cut \xE7\xAE"}) {
    EXPECT_FALSE(key->WriteString("fl", bytes));
    EXPECT_EQ(key->ReadString("fl"), "web") << "the old value stays";
  }
}

// The values of one key reach the disk together: others see none of them
// before the flush and all of them after it, and nothing of the temporary
// files stays; a key closed without a flush publishes its values all the
// same, new ones and replaced ones.
TEST_F(FileRegistryTest, ValuesOfAKeyAppearTogetherWhenItIsFlushed) {
  FileRegistry registry = Registry();
  const fs::path folder = hive_ / "Software" / "Ostrel";
  {
    auto key = registry.OpenKey("Software\\Ostrel", RegistryAccess::All);
    ASSERT_TRUE(key);
    for (const char* name : {"DisplayIcon", "DisplayName", "DisplayVersion", "Publisher", "UninstallString"}) {
      ASSERT_TRUE(key->WriteString(name, std::string("value of ") + name));
    }
    ASSERT_TRUE(key->WriteString("DisplayVersion", "2.1"));
    auto other = registry.OpenKey("Software\\Ostrel", RegistryAccess::ReadOnly);
    EXPECT_EQ(other->ReadString("DisplayName"), std::nullopt) << "nothing shows before the flush";
    ASSERT_TRUE(key->Flush());
    EXPECT_EQ(other->ReadString("DisplayName"), "value of DisplayName");
    EXPECT_EQ(other->ReadString("DisplayVersion"), "2.1");
    EXPECT_TRUE(key->Flush()) << "nothing more to flush";
    ASSERT_TRUE(key->WriteString("uuid", "{ABC}"));
  }
  EXPECT_EQ(registry.OpenKey("Software\\Ostrel", RegistryAccess::ReadOnly)->ReadString("uuid"), "{ABC}");
  ASSERT_TRUE(registry.OpenKey("Software\\Ostrel", RegistryAccess::All)->WriteString("Publisher", "other"));
  EXPECT_EQ(registry.OpenKey("Software\\Ostrel", RegistryAccess::ReadOnly)->ReadString("Publisher"), "other");
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"DisplayIcon", "DisplayName", "DisplayVersion", "Publisher",
                                             "UninstallString", "uuid"}));
}

TEST_F(FileRegistryTest, NamesCannotLeaveTheHive) {
  FileRegistry registry = Registry();
  auto key = registry.OpenKey("..\\..\\escape", RegistryAccess::All);
  ASSERT_TRUE(key);
  EXPECT_TRUE(key->WriteString("../x", "v"));
  EXPECT_TRUE(key->WriteString("", "default"));
  ASSERT_TRUE(key->Flush());
  EXPECT_FALSE(fs::exists(root_ / "escape"));
  EXPECT_FALSE(fs::exists(root_.parent_path() / "escape"));
  EXPECT_EQ(key->ReadString("../x"), "v");
  EXPECT_EQ(key->ReadString(""), "default");
  EXPECT_TRUE(fs::exists(hive_ / "%2E." / "%2E." / "escape" / "%2E.%2Fx"));
}

TEST_F(FileRegistryTest, DeletingAKeyRemovesItsFolderAndInvalidatesOpenHandles) {
  FileRegistry registry = Registry();
  auto entry = registry.OpenKey("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Ostrel", RegistryAccess::All);
  ASSERT_TRUE(entry);
  ASSERT_TRUE(entry->WriteString("UninstallString", "/opt/Ostrel/Uninstall"));
  auto sibling =
      registry.OpenKey("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other", RegistryAccess::All);
  ASSERT_TRUE(sibling);

  EXPECT_TRUE(registry.DeleteKey("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Ostrel"));
  const fs::path uninstall = hive_ / "Software" / "Microsoft" / "Windows" / "CurrentVersion" / "Uninstall";
  EXPECT_FALSE(fs::exists(uninstall / "Ostrel"));
  EXPECT_TRUE(fs::exists(uninstall / "Other"));
  EXPECT_EQ(std::distance(fs::directory_iterator(uninstall), fs::directory_iterator()), 1);

  EXPECT_FALSE(entry->WriteString("UninstallString", "late")) << "a write after deletion revives nothing";
  EXPECT_FALSE(
      registry.OpenKey("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Ostrel", RegistryAccess::ReadOnly));
  EXPECT_FALSE(registry.DeleteKey("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Ostrel"));

  auto product = registry.OpenKey("Software\\Ostrel", RegistryAccess::All);
  ASSERT_TRUE(product->WriteString("uuid", "{ABC}"));
  EXPECT_FALSE(registry.DeleteKey("Software\\Ostrel\\uuid")) << "a value is not a key";
  EXPECT_EQ(product->ReadString("uuid"), "{ABC}");
}

// An uninstaller deletes the uninstall entry while a setup writes it: every
// call either succeeds or fails cleanly, and no hidden folder stays behind.
TEST_F(FileRegistryTest, DeletingWhileAnotherWriterWritesLeavesNoDebris) {
  const std::string path = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Ostrel";
  FileRegistry deleter = Registry();
  ASSERT_TRUE(deleter.OpenKey(path, RegistryAccess::All));
  std::atomic<bool> stop{false};
  std::atomic<int> rounds{0};
  std::thread writer([&] {
    FileRegistry own = Registry();
    while (!stop) {
      if (auto key = own.OpenKey(path, RegistryAccess::All)) {
        key->WriteString("DisplayName", "Ostrel");
        key->WriteString("UninstallString", "/opt/Ostrel/Uninstall");
      }
      ++rounds;
    }
  });
  int deletions = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while ((deletions < 100 || rounds < 50) && std::chrono::steady_clock::now() < deadline) {
    if (deleter.DeleteKey(path)) ++deletions;
  }
  EXPECT_TRUE(deletions >= 100 && rounds >= 50) << deletions << " deletions, " << rounds << " write rounds";
  stop = true;
  writer.join();

  const fs::path parent = hive_ / "Software" / "Microsoft" / "Windows" / "CurrentVersion" / "Uninstall";
  for (const auto& entry : fs::directory_iterator(parent)) {
    EXPECT_EQ(entry.path().filename(), "Ostrel") << "stray entry " << entry.path();
  }
  if (auto key = deleter.OpenKey(path, RegistryAccess::ReadOnly)) {
    for (const auto& entry : fs::directory_iterator(parent / "Ostrel")) {
      EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << "stray entry " << entry.path();
    }
  }
}

// A setup and an uninstaller may write the same value at once; a reader must
// always see one whole value.
TEST_F(FileRegistryTest, ConcurrentWritersNeverTearAValue) {
  FileRegistry registry = Registry();
  const std::string a(100000, 'a');
  const std::string b(70000, 'b');
  ASSERT_TRUE(registry.OpenKey("Software\\Ostrel", RegistryAccess::All)->WriteString("uuid", a));

  std::atomic<bool> stop{false};
  std::atomic<int> torn{0};
  std::atomic<int> failedWrites{0};
  auto writer = [&](const std::string& value) {
    FileRegistry own = Registry();
    for (int i = 0; i < 150; ++i) {
      auto key = own.OpenKey("Software\\Ostrel", RegistryAccess::All);
      if (!key || !key->WriteString("uuid", value)) ++failedWrites;
    }
  };
  std::thread reader([&] {
    FileRegistry own = Registry();
    while (!stop) {
      auto key = own.OpenKey("Software\\Ostrel", RegistryAccess::ReadOnly);
      const auto value = key ? key->ReadString("uuid") : std::nullopt;
      if (!value || (*value != a && *value != b)) ++torn;
    }
  });
  std::thread w1(writer, a);
  std::thread w2(writer, b);
  w1.join();
  w2.join();
  stop = true;
  reader.join();

  EXPECT_EQ(torn, 0);
  EXPECT_EQ(failedWrites, 0);
}

}  // namespace
}  // namespace ostrel::platform::posix
