// Output naming as a pure function of the shader path and the output path.
#include "driver/output_path.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/platform.h"

using namespace driver;

namespace {

// The tables are written with '/'; on Windows the separator of the path
// rules is the backslash.
std::string native(std::string path) {
  std::replace(path.begin(), path.end(), '/', platform::separator);
  return path;
}

}  // namespace

TEST(SplitShaderPath, SplitsAtTheLastDotThenAtTheLastSeparator) {
  struct Row {
    const char* path;
    const char* stem;
    const char* extension;
    const char* directory;
    const char* base;
  } rows[] = {
      {"/fx/wave.fs", "/fx/wave", "fs", "/fx", "wave"},
      {"/fx/wave.old.fs", "/fx/wave.old", "fs", "/fx", "wave.old"},
      {"wave.fs", "wave", "fs", "", "wave"},
      {"/fx/.fs", "/fx/", "fs", "/fx", ""},
      {"wave", "", "", "", ""},
      {"wave.", "wave", "", "", "wave"},
      {"/my.fx/wave", "/my", "fx/wave", "", "my"},
#ifdef _WIN32
      {"back\\slash.fs", "back\\slash", "fs", "back", "slash"},
#else
      {"back\\slash.fs", "back\\slash", "fs", "", "back\\slash"},
#endif
  };
  for (const Row& row : rows) {
    ShaderName name = split_shader_path(native(row.path));
    EXPECT_EQ(name.stem, native(row.stem)) << row.path;
    EXPECT_EQ(name.extension, native(row.extension)) << row.path;
    EXPECT_EQ(name.directory_part, native(row.directory)) << row.path;
    EXPECT_EQ(name.base_name, native(row.base)) << row.path;
  }
}

TEST(OutputFilePath, FollowsTheKindOfTheOutputPath) {
  ShaderName wave = split_shader_path(native("/fx/wave.fs"));
  EXPECT_EQ(output_file_path(wave, "", FileKind::status_failed, ".frag"), native("/fx/wave.frag"));
  EXPECT_EQ(output_file_path(wave, native("/out/"), FileKind::directory, ".frag"),
            native("/out/wave.frag"));
  EXPECT_EQ(output_file_path(wave, native("/out/a.frag"), FileKind::regular_file, ".frag"),
            native("/out/a.frag"));
  EXPECT_EQ(output_file_path(wave, native("/out/new_"), FileKind::status_failed, ".frag"),
            native("/out/new_wave.frag"));
  EXPECT_EQ(output_file_path(wave, native("/dev/null"), FileKind::other, ".frag"),
            native("/dev/nullwave.frag"));
  EXPECT_EQ(output_file_path(split_shader_path("wave.fs"), "", FileKind::status_failed, ".frag"),
            "wave.frag");
}

TEST(WithDirectorySeparator, OnlyAnExistingDirectoryWithoutOneGetsOne) {
  EXPECT_EQ(with_directory_separator(native("/out"), FileKind::directory), native("/out/"));
  EXPECT_EQ(with_directory_separator(native("/out/"), FileKind::directory), native("/out/"));
  EXPECT_EQ(with_directory_separator(native("/out"), FileKind::status_failed), native("/out"));
  EXPECT_EQ(with_directory_separator(native("/out.frag"), FileKind::regular_file),
            native("/out.frag"));
  EXPECT_EQ(with_directory_separator("", FileKind::directory), "");
#ifdef _WIN32
  // A forward slash at the end is no separator of these rules.
  EXPECT_EQ(with_directory_separator("D:/out/", FileKind::directory), "D:/out/\\");
#endif
}
