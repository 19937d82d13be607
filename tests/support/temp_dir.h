// A temporary directory for one test, removed with everything in it when the
// object goes out of scope.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace korvane::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Writes bytes to a file in the directory and returns its full path.
  std::string WriteFile(const std::string& name, std::string_view bytes) const;
  std::string ReadFile(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

}  // namespace korvane::test
