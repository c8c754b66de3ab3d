// Output naming as a pure function of the shader path and the output path.
#include "driver/output_path.h"

#include <gtest/gtest.h>

using namespace driver;

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
      {"/my.fx/wave", "/my", "fx/wave", "", "/my"},
      {"back\\slash.fs", "back\\slash", "fs", "", "back\\slash"},
  };
  for (const Row& row : rows) {
    ShaderName name = split_shader_path(row.path);
    EXPECT_EQ(name.stem, row.stem) << row.path;
    EXPECT_EQ(name.extension, row.extension) << row.path;
    EXPECT_EQ(name.directory_part, row.directory) << row.path;
    EXPECT_EQ(name.base_name, row.base) << row.path;
  }
}

TEST(OutputFilePath, FollowsTheKindOfTheOutputPath) {
  ShaderName wave = split_shader_path("/fx/wave.fs");
  EXPECT_EQ(output_file_path(wave, "", FileKind::status_failed, ".frag"), "/fx/wave.frag");
  EXPECT_EQ(output_file_path(wave, "/out/", FileKind::directory, ".frag"), "/out/wave.frag");
  EXPECT_EQ(output_file_path(wave, "/out/a.frag", FileKind::regular_file, ".frag"), "/out/a.frag");
  EXPECT_EQ(output_file_path(wave, "/out/new_", FileKind::status_failed, ".frag"),
            "/out/new_wave.frag");
  EXPECT_EQ(output_file_path(wave, "/dev/null", FileKind::other, ".frag"), "/dev/nullwave.frag");
  EXPECT_EQ(output_file_path(split_shader_path("wave.fs"), "", FileKind::status_failed, ".frag"),
            "wave.frag");
}

TEST(WithDirectorySeparator, OnlyAnExistingDirectoryWithoutOneGetsOne) {
  EXPECT_EQ(with_directory_separator("/out", FileKind::directory), "/out/");
  EXPECT_EQ(with_directory_separator("/out/", FileKind::directory), "/out/");
  EXPECT_EQ(with_directory_separator("/out", FileKind::status_failed), "/out");
  EXPECT_EQ(with_directory_separator("/out.frag", FileKind::regular_file), "/out.frag");
  EXPECT_EQ(with_directory_separator("", FileKind::directory), "");
}
