// Reading and writing whole files through the platform layer, and the
// converter's fatal errors.
#include <gtest/gtest.h>

#include <filesystem>

#include "driver/fragment_converter.h"
#include "platform/platform.h"
#include "support/files.h"

namespace fs = std::filesystem;
using test_support::read_bytes;
using test_support::TempDir;
using test_support::write_bytes;

TEST(WriteFile, WritesEveryByteAndNothingElse) {
  TempDir dir;
  std::string text("a\0b\nlast line without line feed", 31);
  ASSERT_TRUE(platform::write_file(dir.at("out.frag"), text));
#ifdef _WIN32
  // Text mode stores the line feed as CR LF.
  EXPECT_EQ(read_bytes(dir.at("out.frag")), std::string("a\0b\r\nlast line without line feed", 32));
#else
  EXPECT_EQ(read_bytes(dir.at("out.frag")), text);
#endif
  ASSERT_TRUE(platform::write_file(dir.at("out.frag"), ""));
  EXPECT_EQ(read_bytes(dir.at("out.frag")), "");
}

TEST(WriteFile, FailsWithoutTouchingADirectoryInTheWay) {
  TempDir dir;
  fs::create_directory(dir.at("taken.frag"));
  EXPECT_FALSE(platform::write_file(dir.at("taken.frag"), "text"));
  EXPECT_TRUE(fs::is_directory(dir.at("taken.frag")));
  EXPECT_FALSE(platform::write_file(dir.at("missing/out.frag"), "text"));
}

TEST(ReadFile, ReadsBytesAndRefusesDirectories) {
  TempDir dir;
  std::string bytes("\xEF\xBB\xBF/*\r\n\0*/", 9);
  write_bytes(dir.at("s.fs"), bytes);
  std::string text;
  ASSERT_TRUE(platform::read_file(dir.at("s.fs"), text));
#ifdef _WIN32
  // Text mode reads CR LF as a line feed.
  EXPECT_EQ(text, std::string("\xEF\xBB\xBF/*\n\0*", 8));
#else
  EXPECT_EQ(text, bytes);
#endif
  EXPECT_FALSE(platform::read_file(dir.path().string(), text));
  EXPECT_FALSE(platform::read_file(dir.at("missing"), text));
}

TEST(SameFile, FollowsLinks) {
  TempDir dir;
  write_bytes(dir.at("a"), "x");
  write_bytes(dir.at("b"), "x");
#ifdef _WIN32
  // Symbolic links need extra rights here; a hard link and other spellings
  // of the path name the same file.
  fs::create_hard_link(dir.at("a"), dir.at("link"));
  EXPECT_TRUE(platform::same_file(dir.at("a"), dir.path().string() + "/A"));
#else
  fs::create_symlink(dir.at("a"), dir.at("link"));
#endif
  EXPECT_TRUE(platform::same_file(dir.at("a"), dir.at("link")));
  EXPECT_FALSE(platform::same_file(dir.at("a"), dir.at("b")));
  EXPECT_FALSE(platform::same_file(dir.at("a"), dir.at("missing")));
}

TEST(ConvertShader, FatalErrorsNameTheProblem) {
  TempDir dir;
  testing::internal::CaptureStderr();
  EXPECT_EQ(driver::convert_shader(dir.at("missing.fs"), "", "frag"), driver::ConvertStatus::fatal);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Error: could not open shader " + dir.at("missing.fs") + ".\n");

  write_bytes(dir.at("noext"), "/*{}*/\n");
  testing::internal::CaptureStderr();
  EXPECT_EQ(driver::convert_shader(dir.at("noext"), "", "frag"), driver::ConvertStatus::fatal);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: input filename has no extension.\n");
  EXPECT_FALSE(fs::exists(dir.at("noext.frag")));
}
