// The fields of each kind of parameter macro line and their fallbacks, as
// tables of {members of the input, expected fields} rows.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "isf/parameter_identifier.h"
#include "params/translate_inputs.h"
#include "params/type_words.h"

namespace {

using nlohmann::json;
using namespace std::string_literals;

struct FieldCase {
  const char* members;  // the input's members besides NAME and TYPE, as JSON
  const char* fields;   // the expected fields, each ending in ", "
};

params::ShaderBlocks translate_one(const std::string& type, const char* members) {
  json input = json::parse(members);
  input["NAME"] = "p";
  input["TYPE"] = type;
  params::ShaderBlocks blocks;
  params::translate_inputs(json::array({input}), blocks);
  return blocks;
}

std::string line(const char* head, const std::string& name, const std::string& fields) {
  return head + name + ", " + isf::parameter_identifier(name) + ", " + fields +
         "\"No help available.\")\n";
}

void expect_fields(const char* type, const char* head, std::initializer_list<FieldCase> cases) {
  for (const FieldCase& c : cases) {
    EXPECT_EQ(translate_one(type, c.members).comment, line(head, "p", c.fields))
        << type << " " << c.members;
  }
}

TEST(TypeWordTests, TypeIsMatchedWithoutRegardToAsciiCase) {
  struct Case {
    std::string type;
    const char* uniforms;
  } const cases[] = {
      {"bool", "uniform bool p;\n"},     {"Bool", "uniform bool p;\n"},
      {"BOOL", "uniform bool p;\n"},     {"event", "uniform int p;\n"},
      {"float", "uniform float p;\n"},   {"fLoAt", "uniform float p;\n"},
      {"int", "uniform int p;\n"},       {"long", "uniform int p;\n"},
      {"Long", "uniform int p;\n"},      {"color", "uniform vec4 p;\n"},
      {"image", "uniform sampler2D tex0;\n"},
      {"point2D", "uniform float p_x;\nuniform float p_y;\n"},
      {"POINT2D", "uniform float p_x;\nuniform float p_y;\n"},
      {"point2d ", ""},                  {"colour", ""},
      {"\xC3\x89VENT", ""},              {"float\0"s, ""},
      {"in", ""},                        {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(translate_one(c.type, "{}").uniforms, c.uniforms) << c.type;
  }
  EXPECT_TRUE(params::equals_ignore_case("point2D", "POINT2D"));
  EXPECT_FALSE(params::equals_ignore_case("\xE9", "\xC9"));  // no letters beyond ASCII
  EXPECT_FALSE(params::equals_ignore_case("FLOA", "FLOAT"));
}

TEST(InputFieldTests, BoolDefault) {
  expect_fields("bool", "// ORVANE_INT_PARAM_ONOFF(",
                {
                    {R"({"DEFAULT": 1})", "1, "},
                    {R"({"DEFAULT": 5})", "1, "},
                    {R"({"DEFAULT": -1})", "1, "},
                    {R"({"DEFAULT": 0})", "0, "},
                    {R"({"DEFAULT": true})", "0, "},
                    {R"({"DEFAULT": false})", "0, "},
                    {R"({"DEFAULT": 1.0})", "0, "},
                    {R"({"DEFAULT": "1"})", "0, "},
                    {R"({"DEFAULT": 4294967296})", "0, "},  // low 32 bits are 0
                    {R"({})", "0, "},
                });
}

TEST(InputFieldTests, EventRangeAndDefault) {
  expect_fields("event", "// ORVANE_INT_PARAM(",
                {
                    {R"({"DEFAULT": 1})", "0, 1, 1, "},
                    {R"({"DEFAULT": 0.9})", "0, 1, 0, "},
                    {R"({"MIN": 3, "MAX": 7})", "0, 1, 0, "},
                    {R"({})", "0, 1, 0, "},
                });
}

TEST(InputFieldTests, FloatRangeAndDefault) {
  expect_fields("float", "// ORVANE_FLOAT_PARAM(",
                {
                    {R"({})", "-1000000, +1000000, 0, "},
                    {R"({"MIN": 0, "MAX": 1, "DEFAULT": 1})", "0, 1, 1, "},
                    {R"({"MIN": 0.25, "MAX": 1000000.0, "DEFAULT": 0.1234567})", "0.25, 1e+06, 0.123457, "},
                    {R"({"MIN": -0.0001, "MAX": 0.00001, "DEFAULT": -0.0})", "-0.0001, 1e-05, -0, "},
                    {R"({"MIN": true, "MAX": "2", "DEFAULT": [1]})", "-1000000, +1000000, 0, "},
                    {R"({"MIN": null, "MAX": {}, "DEFAULT": false})", "-1000000, +1000000, 0, "},
                    {R"({"MIN": 1000000, "MAX": 123456789})", "1000000, 123456789, 0, "},
                    {R"({"MAX": 4294967295, "DEFAULT": 2147483648})", "-1000000, -1, -2147483648, "},
                    {R"({"MIN": -1e308, "MAX": 1.7976931348623157e308, "DEFAULT": 5e-324})",
                     "-1e+308, 1.79769e+308, 4.94066e-324, "},
                });
}

TEST(InputFieldTests, IntRangeAndDefault) {
  for (const char* type : {"int", "long"}) {
    expect_fields(type, "// ORVANE_INT_PARAM(",
                  {
                      {R"({})", "0, +1000000, 0, "},
                      {R"({"LABELS": ["a", "b", "c"]})", "0, 2, 0, "},
                      {R"({"LABELS": ["a", "b", "c"], "MAX": 9})", "0, 9, 0, "},
                      {R"({"LABELS": []})", "0, +1000000, 0, "},
                      {R"({"LABELS": "abc"})", "0, +1000000, 0, "},
                      {R"({"VALUES": [0, 1], "LABELS": ["a"]})", "0, 0, 0, "},
                      {R"({"MIN": -2.9, "MAX": 2.9, "DEFAULT": 1.5})", "-2, 2, 1, "},
                      {R"({"MIN": true, "MAX": "5", "DEFAULT": null})", "0, +1000000, 0, "},
                      {R"({"MIN": -3, "MAX": 4294967295, "DEFAULT": 18446744073709551615})", "-3, -1, -1, "},
                      {R"({"MIN": 2147483647.9, "MAX": 2147483648.0, "DEFAULT": -2147483648.9})",
                       "2147483647, -2147483648, -2147483648, "},
                      {R"({"MIN": 1e300, "MAX": -1e300, "DEFAULT": -9223372036854775808})",
                       "-2147483648, -2147483648, 0, "},
                  });
  }
}

TEST(InputFieldTests, ColorDefault) {
  expect_fields("color", "// ORVANE_VEC4_COLOR_PARAM(",
                {
                    {R"({"DEFAULT": [1.0, 0.5, 0.0, 1.0]})", "0xFFFF7F00, "},
                    {R"({"DEFAULT": [2, -1, 0.5, 0.5]})", "0x7FFF007F, "},
                    {R"({"DEFAULT": [0.2, 0.4, 0.6, 0.8]})", "0xCC336699, "},
                    {R"({"DEFAULT": [0.2, 0.4, 0.6, 0.8, "x"]})", "0xCC336699, "},
                    {R"({"DEFAULT": [1, 1, 1]})", "0x00000000, "},
                    {R"({"DEFAULT": [1, 1, "1", 1]})", "0x00000000, "},
                    {R"({"DEFAULT": {"r": 1}})", "0x00000000, "},
                    {R"({})", "0x00000000, "},
                    {R"({"DEFAULT": [1e300, -1e300, 1e-300, 18446744073709551615]})", "0xFFFF0000, "},
                });
}

TEST(InputFieldTests, Point2DAxes) {
  struct Case {
    const char* members;
    const char* x_fields;
    const char* y_fields;
  } const cases[] = {
      {R"({})", "-1000000, +1000000, 0, ", "-1000000, +1000000, 0, "},
      {R"({"MIN": [0, -1], "MAX": [2.5, 1e6], "DEFAULT": [1, 0.125]})", "0, 2.5, 1, ",
       "-1, 1e+06, 0.125, "},
      {R"({"MIN": [0, 0, 0], "MAX": [1]})", "-1000000, +1000000, 0, ", "-1000000, +1000000, 0, "},
      {R"({"MIN": [3, "4"], "DEFAULT": [true, 2]})", "3, +1000000, 0, ", "-1000000, +1000000, 2, "},
      {R"({"MIN": [-1.7976931348623157e308, 1], "MAX": [1.7976931348623157e308, 2]})",
       "-1000000, +1000000, 0, ", "1, 2, 0, "},
      {R"({"MIN": {"x": 1, "y": 2}, "DEFAULT": 0.5})", "-1000000, +1000000, 0, ",
       "-1000000, +1000000, 0, "},
  };
  for (const Case& c : cases) {
    params::ShaderBlocks blocks = translate_one("point2D", c.members);
    EXPECT_EQ(blocks.comment, line("// ORVANE_FLOAT_PARAM(", "p_x", c.x_fields) +
                                  line("// ORVANE_FLOAT_PARAM(", "p_y", c.y_fields))
        << c.members;
    EXPECT_EQ(blocks.uniforms, "uniform float p_x;\nuniform float p_y;\n");
    EXPECT_EQ(blocks.defines, "#define p vec2(p_x,p_y)\n");
  }
}

}  // namespace
