// Headers built to hurt: many inputs, NUL bytes in names, numbers at the ends
// of the double range. Reading and translating must stay defined and linear.
#include <gtest/gtest.h>

#include <string>

#include "isf/header.h"
#include "isf/parameter_identifier.h"
#include "isf/source_reader.h"
#include "params/translate_inputs.h"

namespace {

using nlohmann::json;
using namespace std::string_literals;

params::ShaderBlocks translate_file(const std::string& file) {
  isf::ShaderSource source = isf::read_shader_source(file);
  isf::HeaderMembers members = isf::lookup_header_members(isf::parse_header(source.header_text).value());
  params::ShaderBlocks blocks;
  params::translate_inputs(members.inputs, blocks);
  return blocks;
}

std::size_t count(const std::string& text, const std::string& piece) {
  std::size_t n = 0;
  for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
  return n;
}

TEST(HostileInputTests, TenThousandInputs) {
  std::string file = "/*{\"INPUTS\": [\n";
  for (int i = 0; i < 10000; ++i) {
    file += i % 2 ? "{\"NAME\": \"f" + std::to_string(i) + "\", \"TYPE\": \"float\"},\n"
                  : "{\"NAME\": \"i" + std::to_string(i) + "\", \"TYPE\": \"image\"},\n";
  }
  file += "{\"NAME\": \"last\", \"TYPE\": \"bool\"}]}*/\nvoid main() {}\n";
  params::ShaderBlocks blocks = translate_file(file);
  EXPECT_EQ(count(blocks.comment, "\n"), 5001u);
  EXPECT_EQ(count(blocks.uniforms, "uniform sampler2D tex"), 5000u);
  EXPECT_EQ(blocks.image_count, 5000u);
  EXPECT_EQ(blocks.image_table.at("i9998"), "tex4999");
}

TEST(HostileInputTests, NulBytesInNamesAreCopiedAndIdentifiedUpToTheNul) {
  params::ShaderBlocks blocks = translate_file("/*{\"INPUTS\": [{\"NAME\": \"abc\\u0000z\", \"TYPE\": \"int\"}]}*/\n");
  EXPECT_EQ(blocks.comment, "// ORVANE_INT_PARAM(abc\0z, s3ug, 0, +1000000, 0, \"No help available.\")\n"s);
  EXPECT_EQ(blocks.uniforms, "uniform int abc\0z;\n"s);
}

TEST(HostileInputTests, NumbersAtTheEndsOfTheRange) {
  params::ShaderBlocks blocks = translate_file(
      "/*{\"INPUTS\": [{\"NAME\": \"f\", \"TYPE\": \"float\", \"MIN\": -1.7976931348623157e308,"
      " \"MAX\": 1e-400, \"DEFAULT\": 123456789012345678901234567890},"
      " {\"NAME\": \"n\", \"TYPE\": \"int\", \"MIN\": 1e308, \"MAX\": 99999999999999999999}]}*/\n");
  EXPECT_EQ(blocks.comment,
            "// ORVANE_FLOAT_PARAM(f, " + isf::parameter_identifier("f") +
                ", -1.79769e+308, 0, 1.23457e+29, \"No help available.\")\n"
                "// ORVANE_INT_PARAM(n, " + isf::parameter_identifier("n") +
                ", -2147483648, -2147483648, 0, \"No help available.\")\n");
}

TEST(HostileInputTests, DeeplyNestedMemberValuesAreIgnoredSafely) {
  const std::size_t depth = 500;
  std::string nested = std::string(depth, '[') + std::string(depth, ']');
  params::ShaderBlocks blocks = translate_file("/*{\"INPUTS\": [{\"NAME\": \"c\", \"TYPE\": \"color\", \"DEFAULT\": " +
                                               nested + ", \"LABELS\": " + nested + "}]}*/\n");
  EXPECT_EQ(blocks.comment, "// ORVANE_VEC4_COLOR_PARAM(c, " + isf::parameter_identifier("c") +
                                ", 0x00000000, \"No help available.\")\n");
}

}  // namespace
