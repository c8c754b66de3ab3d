// The converter's fatal errors: a shader that cannot be opened, and one
// whose path has no extension.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "driver/fragment_converter.h"
#include "support/files.h"

namespace fs = std::filesystem;
using test_support::read_bytes;
using test_support::TempDir;
using test_support::write_bytes;

namespace {

// The status and the one message, on standard error, of a fatal conversion.
void expect_fatal(const std::string& shader, const std::string& message) {
  driver::ShaderConversion result = driver::convert_shader_file(shader, "", "frag", {});
  EXPECT_EQ(result.status, driver::ConvertStatus::fatal);
  ASSERT_EQ(result.messages.size(), 1u);
  EXPECT_EQ(result.messages[0].stream, driver::Message::Stream::err);
  EXPECT_EQ(result.messages[0].text, message);
}

}  // namespace

TEST(ConvertShader, FatalErrorsNameTheProblem) {
  TempDir dir;
  expect_fatal(dir.at("missing.fs"), "Error: could not open shader " + dir.at("missing.fs") + ".\n");

  write_bytes(dir.at("noext"), "/*{}*/\n");
  expect_fatal(dir.at("noext"), "Error: input filename has no extension.\n");
  EXPECT_FALSE(fs::exists(dir.at("noext.frag")));
}
