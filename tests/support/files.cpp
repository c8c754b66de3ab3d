// Scratch folders and whole-file helpers for tests.
#include "support/files.h"

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace test_support {

TempDir::TempDir() {
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    auto candidate = std::filesystem::temp_directory_path() /
                     ("isf2orvy-test-" + std::to_string(random()));
    if (std::filesystem::create_directory(candidate)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("could not create a temporary folder");
}

TempDir::~TempDir() {
  std::error_code ignored;
  // Restore rights that a test may have taken away, so that removal works.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    if (!it->is_symlink(ignored))
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ignored);
  }
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::at(const std::string& name) const { return (path_ / name).string(); }

void write_bytes(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) throw std::runtime_error("cannot write " + path);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string read_bytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot read " + path);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string source_path(const std::string& relative) {
  return std::string(ISF2ORVY_SOURCE_DIR) + "/" + relative;
}

}  // namespace test_support
