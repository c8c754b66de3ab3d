// Whole conversions through the binary against golden files. Each folder of
// tests/golden holds input.fs and what the run must give: expected.frag (no
// file when absent), expected.stdout, expected.stderr (empty when absent) and
// expected.status (0 when absent). "{shader}" stands for the shader's path.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "support/files.h"
#include "support/process.h"

namespace fs = std::filesystem;
using test_support::read_bytes;
using test_support::TempDir;

namespace {

std::string read_or(const fs::path& path, const std::string& fallback) {
  return fs::exists(path) ? read_bytes(path.string()) : fallback;
}

std::string substitute(std::string text, const std::string& shader) {
  const std::string key = "{shader}";
  for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + shader.size()))
    text.replace(at, key.size(), shader);
  return text;
}

std::string as_written(const std::string& text) {
#ifdef _WIN32
  // The output file is written in text mode: every line feed becomes CR LF.
  std::string crlf;
  for (char c : text) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  return crlf;
#else
  return text;
#endif
}

class Golden : public testing::TestWithParam<std::string> {};

TEST_P(Golden, ConvertsAsExpected) {
  fs::path dir = fs::path(test_support::source_path("tests/golden")) / GetParam();
  TempDir in, out;
  std::string shader = in.at(GetParam() + ".fs");
  fs::copy_file(dir / "input.fs", shader);

  auto run = test_support::run_tool({in.path().string(), out.path().string()});

  EXPECT_EQ(run.status, std::stoi(read_or(dir / "expected.status", "0")));
  EXPECT_EQ(run.out, substitute(read_or(dir / "expected.stdout", ""), shader));
  EXPECT_EQ(run.err, substitute(read_or(dir / "expected.stderr", ""), shader));
  std::string output = out.at(GetParam() + ".frag");
  if (fs::exists(dir / "expected.frag")) {
    ASSERT_TRUE(fs::is_regular_file(output));
    EXPECT_EQ(read_bytes(output), as_written(read_bytes((dir / "expected.frag").string())));
  } else {
    EXPECT_FALSE(fs::exists(output));
  }
}

std::vector<std::string> golden_cases() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(test_support::source_path("tests/golden")))
    if (entry.is_directory()) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

INSTANTIATE_TEST_SUITE_P(Files, Golden, testing::ValuesIn(golden_cases()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
