#include "setup/platform/PathStyle.h"

#include <gtest/gtest.h>

namespace ostrel::platform {
namespace {

TEST(PathStyle, ExecutableNamesFollowThePlatform) {
  EXPECT_EQ(UninstallerFileName(PathStyle::Windows), "Uninstall.exe");
  EXPECT_EQ(UninstallerFileName(PathStyle::Posix), "Uninstall");
  EXPECT_EQ(ExecutableName("Ostrel", PathStyle::Windows), "Ostrel.exe");
  EXPECT_EQ(ExecutableName("Ostrel", PathStyle::Posix), "Ostrel");
  EXPECT_NE(Resolve(PathStyle::Native), PathStyle::Native);
}

struct NameCase {
  PathStyle style;
  const char* path;
  const char* fileName;
  const char* folder;
  const char* baseName;
};

TEST(PathStyle, SplitsPathsIntoFolderNameAndBase) {
  const NameCase cases[] = {
      {PathStyle::Windows, "D:\\dl\\OstrelSetup.web.exe", "OstrelSetup.web.exe", "D:\\dl\\", "OstrelSetup.web"},
      {PathStyle::Windows, "D:/dl/Setup.exe", "Setup.exe", "D:/dl/", "Setup"},
      {PathStyle::Windows, "C:Setup.exe", "Setup.exe", "C:", "Setup"},
      {PathStyle::Windows, "Setup", "Setup", "", "Setup"},
      {PathStyle::Windows, "D:\\a.b\\Setup", "Setup", "D:\\a.b\\", "Setup"},
      {PathStyle::Windows, "D:\\dl\\OstrelSetup.web.EXE", "OstrelSetup.web.EXE", "D:\\dl\\", "OstrelSetup.web"},
      {PathStyle::Windows, "D:\\dl\\OstrelSetup.web", "OstrelSetup.web", "D:\\dl\\", "OstrelSetup"},
      {PathStyle::Windows, "D:\\dl\\OstrelSetup.web.com", "OstrelSetup.web.com", "D:\\dl\\", "OstrelSetup.web"},
      {PathStyle::Windows, "D:\\dl\\Setup.", "Setup.", "D:\\dl\\", "Setup"},
      {PathStyle::Windows, "D:\\dl\\.exe", ".exe", "D:\\dl\\", ""},
      {PathStyle::Posix, "/opt/dl/OstrelSetup.web", "OstrelSetup.web", "/opt/dl/", "OstrelSetup.web"},
      {PathStyle::Posix, "/opt/dl\\x/Setup.exe", "Setup.exe", "/opt/dl\\x/", "Setup.exe"},
      {PathStyle::Posix, "Uninstall", "Uninstall", "", "Uninstall"},
  };
  for (const NameCase& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(FileNamePart(c.path, c.style), c.fileName);
    EXPECT_EQ(FolderPart(c.path, c.style), c.folder);
    EXPECT_EQ(ProgramBaseName(c.path, c.style), c.baseName);
  }
}

TEST(PathStyle, RootMatchingRespectsComponentsOnPosixOnly) {
  EXPECT_TRUE(PathIsUnderRoot("C:\\Users\\u\\Ostrel", "C:\\", PathStyle::Windows));
  EXPECT_FALSE(PathIsUnderRoot("c:\\Users\\u\\Ostrel", "C:\\", PathStyle::Windows));
  EXPECT_FALSE(PathIsUnderRoot("C:\\Users", "D:\\", PathStyle::Windows));

  EXPECT_TRUE(PathIsUnderRoot("/home/u/Ostrel", "/", PathStyle::Posix));
  EXPECT_TRUE(PathIsUnderRoot("/home/u/Ostrel", "/home", PathStyle::Posix));
  EXPECT_TRUE(PathIsUnderRoot("/home", "/home", PathStyle::Posix));
  EXPECT_FALSE(PathIsUnderRoot("/home2/u", "/home", PathStyle::Posix));
  EXPECT_FALSE(PathIsUnderRoot("/home/u", "", PathStyle::Posix));
}

TEST(PathStyle, AbsolutePathsNeedNoCurrentFolderOrDrive) {
  const struct {
    PathStyle style;
    const char* path;
    bool absolute;
  } cases[] = {
      {PathStyle::Posix, "/home/u/Uninstall", true},
      {PathStyle::Posix, "home/u/Uninstall", false},
      {PathStyle::Posix, "Uninstall", false},
      {PathStyle::Posix, "", false},
      {PathStyle::Posix, "C:\\Ostrel\\Uninstall", false},
      {PathStyle::Windows, "D:\\Ostrel\\Uninstall.exe", true},
      {PathStyle::Windows, "d:/Ostrel/Uninstall.exe", true},
      {PathStyle::Windows, "\\\\server\\share\\Uninstall.exe", true},
      {PathStyle::Windows, "D:Uninstall.exe", false},
      {PathStyle::Windows, "\\Ostrel\\Uninstall.exe", false},
      {PathStyle::Windows, "Ostrel\\Uninstall.exe", false},
      {PathStyle::Windows, "1:\\x", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsAbsolutePath(c.path, c.style), c.absolute) << c.path;
}

TEST(PathStyle, JoinsWithExactlyOneSeparator) {
  EXPECT_EQ(JoinPath("D:\\", "Ostrel", PathStyle::Windows), "D:\\Ostrel");
  EXPECT_EQ(JoinPath("D:\\dl", "Ostrel", PathStyle::Windows), "D:\\dl\\Ostrel");
  EXPECT_EQ(JoinPath("/", "Ostrel", PathStyle::Posix), "/Ostrel");
  EXPECT_EQ(JoinPath("/data", "Ostrel", PathStyle::Posix), "/data/Ostrel");
  EXPECT_EQ(WithTrailingSeparator("E:\\", PathStyle::Windows), "E:\\");
  EXPECT_EQ(WithTrailingSeparator("/data", PathStyle::Posix), "/data/");
}

TEST(PathStyle, FileNamesCompareIgnoringAsciiCase) {
  EXPECT_TRUE(SameFileNameIgnoringCase("UNINSTALL.EXE", "Uninstall.exe"));
  EXPECT_FALSE(SameFileNameIgnoringCase("Uninstall (1).exe", "Uninstall.exe"));
  EXPECT_FALSE(SameFileNameIgnoringCase("Uninstall.ex", "Uninstall.exe"));
}

}  // namespace
}  // namespace ostrel::platform
