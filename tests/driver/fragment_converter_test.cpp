// The converter's fatal errors: a shader that cannot be opened, and one
// whose path has no extension.
#include <gtest/gtest.h>

#include <filesystem>

#include "driver/fragment_converter.h"
#include "support/files.h"

namespace fs = std::filesystem;
using test_support::read_bytes;
using test_support::TempDir;
using test_support::write_bytes;

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
