// Scratch folders and whole-file helpers for tests that work on real files.
#pragma once

#include <filesystem>
#include <string>

namespace test_support {

// A fresh folder under the system's temporary directory, removed with
// everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The path of `name` inside the folder, as a string.
  std::string at(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

void write_bytes(const std::string& path, const std::string& bytes);
std::string read_bytes(const std::string& path);

// The source tree's folder of a fixture set, e.g. source_path("tests/golden").
std::string source_path(const std::string& relative);

}  // namespace test_support
