#pragma once
// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes.

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

class TempDir {
 public:
  explicit TempDir(std::string_view APrefix = "ostrel") {
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string(APrefix) + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) != nullptr) FPath = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    if (!FPath.empty()) std::filesystem::remove_all(FPath, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return FPath; }
  std::string operator/(const std::string& AName) const { return (FPath / AName).string(); }

 private:
  std::filesystem::path FPath;
};
