// A temporary directory for one test, removed with everything in it when the
// object goes out of scope.
#pragma once

#include <filesystem>
#include <optional>
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

// Points the temporary folder ($TMPDIR) at folder (created when missing)
// for the object's lifetime, so that a test can see the temporary files the
// program makes and none are left behind.
class ScopedTempFolder {
 public:
  explicit ScopedTempFolder(const std::filesystem::path& folder);
  ~ScopedTempFolder();
  ScopedTempFolder(const ScopedTempFolder&) = delete;
  ScopedTempFolder& operator=(const ScopedTempFolder&) = delete;

 private:
  std::optional<std::string> previous_;
};

}  // namespace korvane::test
