// Reading parameter macro lines back: the lines the converter writes for every
// input type come apart into the name, identifier, fields and help text that
// the preview renderer binds; anything else is not taken for a macro line.
#include "params/macro_format.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "params/translate_inputs.h"

namespace {

using params::MacroKind;
using params::parse_parameter_macro_line;

struct LineCase {
  std::string line;
  MacroKind kind;
  std::string name;
  std::string identifier;
  std::vector<std::string> fields;
  std::string help;
};

TEST(MacroFormat, ReadsEveryKindOfLine) {
  const std::vector<LineCase> cases = {
      {"// ORVANE_INT_PARAM_ONOFF(invert, }eJ_, 1, \"No help available.\")",
       MacroKind::int_onoff,
       "invert",
       "}eJ_",
       {"1"},
       "No help available."},
      {"// ORVANE_INT_PARAM(mode, aZHp, 0, 2, 1, \"No help available.\")\n",
       MacroKind::int_range,
       "mode",
       "aZHp",
       {"0", "2", "1"},
       "No help available."},
      {"// ORVANE_FLOAT_PARAM(level, M*EO, -1000000, +1000000, 0, \"No help available.\")\r\n",
       MacroKind::float_range,
       "level",
       "M*EO",
       {"-1000000", "+1000000", "0"},
       "No help available."},
      {"// ORVANE_FLOAT_PARAM(big, abcd, 1e-05, 1e+06, 0.5, \"Gain\")",
       MacroKind::float_range,
       "big",
       "abcd",
       {"1e-05", "1e+06", "0.5"},
       "Gain"},
      {"// ORVANE_VEC4_COLOR_PARAM(tint, s-XL, 0xFFFF7F00, \"No help available.\")",
       MacroKind::color,
       "tint",
       "s-XL",
       {"0xFFFF7F00"},
       "No help available."},
      // A name is copied unchanged from the header, separators and all.
      {"// ORVANE_FLOAT_PARAM(a, b (c), Qz9#, 0, 1, 0, \"No help available.\")",
       MacroKind::float_range,
       "a, b (c)",
       "Qz9#",
       {"0", "1", "0"},
       "No help available."},
      {"// ORVANE_INT_PARAM(steps, Qz9#, 1, 8, 4, \"Steps, from 1 to 8\")",
       MacroKind::int_range,
       "steps",
       "Qz9#",
       {"1", "8", "4"},
       "Steps, from 1 to 8"},
  };
  for (const LineCase& c : cases) {
    auto macro = parse_parameter_macro_line(c.line);
    ASSERT_TRUE(macro.has_value()) << c.line;
    EXPECT_EQ(macro->kind, c.kind) << c.line;
    EXPECT_EQ(macro->name, c.name) << c.line;
    EXPECT_EQ(macro->identifier, c.identifier) << c.line;
    EXPECT_EQ(macro->fields, c.fields) << c.line;
    EXPECT_EQ(macro->help, c.help) << c.line;
  }
}

TEST(MacroFormat, RejectsLinesOfOtherShapes) {
  for (const std::string line : {
           "// CREDIT: by the effects group",
           "// ORVANE_PLUGIN_DESC(\"Tints the image\")",
           "uniform float gain;",
           "",
           "//ORVANE_FLOAT_PARAM(gain, laoL, 0, 2, 1, \"No help available.\")",
           "  // ORVANE_FLOAT_PARAM(gain, laoL, 0, 2, 1, \"No help available.\")",
           "// ORVANE_FLOAT_PARAM(gain, laoL, 0, 2, 1, \"No help available.\"",
           "// ORVANE_FLOAT_PARAM(gain, laoL, 0, 2, 1)",
           "// ORVANE_FLOAT_PARAM(gain, laoL, 0, 1, \"No help available.\")",
           "// ORVANE_FLOAT_PARAM(laoL, 0, 2, 1, \"No help available.\")",
           "// ORVANE_INT_PARAM_ONOFF(, }eJ_, 1, \"No help available.\")",
           "// ORVANE_VEC4_COLOR_PARAM(tint, s-XL, , \"No help available.\")",
           "// ORVANE_BOOL_PARAM(flag, abcd, 1, \"No help available.\")",
       }) {
    EXPECT_FALSE(parse_parameter_macro_line(line).has_value()) << line;
  }
}

// The converter's own lines for every input type read back into the values
// that were given in the header.
TEST(MacroFormat, ReadsBackWhatTheConverterWrites) {
  auto inputs = nlohmann::json::parse(R"([
    {"NAME": "photo", "TYPE": "image"},
    {"NAME": "invert", "TYPE": "bool", "DEFAULT": 1},
    {"NAME": "flash", "TYPE": "event"},
    {"NAME": "gain", "TYPE": "float", "MIN": 0, "MAX": 2.5, "DEFAULT": 0.75},
    {"NAME": "mode", "TYPE": "long", "LABELS": ["a", "b", "c"], "DEFAULT": 1},
    {"NAME": "tint", "TYPE": "color", "DEFAULT": [1.0, 0.5, 0.0, 1.0]},
    {"NAME": "center", "TYPE": "point2D", "MIN": [0, 0], "MAX": [1, 1], "DEFAULT": [0.5, 0.25]}
  ])");
  params::ShaderBlocks blocks;
  params::translate_inputs(inputs, blocks);

  std::vector<params::ParameterMacro> read;
  std::istringstream lines(blocks.comment);
  std::string line;
  while (std::getline(lines, line)) {
    auto macro = parse_parameter_macro_line(line);
    ASSERT_TRUE(macro.has_value()) << line;
    EXPECT_EQ(macro->help, "No help available.");
    EXPECT_EQ(macro->identifier.size(), 4u);
    read.push_back(*macro);
  }
  struct Expected {
    MacroKind kind;
    std::string name;
    std::vector<std::string> fields;
  };
  const std::vector<Expected> expected = {
      {MacroKind::int_onoff, "invert", {"1"}},
      {MacroKind::int_range, "flash", {"0", "1", "0"}},
      {MacroKind::float_range, "gain", {"0", "2.5", "0.75"}},
      {MacroKind::int_range, "mode", {"0", "2", "1"}},
      {MacroKind::color, "tint", {"0xFFFF7F00"}},
      {MacroKind::float_range, "center_x", {"0", "1", "0.5"}},
      {MacroKind::float_range, "center_y", {"0", "1", "0.25"}},
  };
  ASSERT_EQ(read.size(), expected.size()) << blocks.comment;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(read[i].kind, expected[i].kind) << i;
    EXPECT_EQ(read[i].name, expected[i].name) << i;
    EXPECT_EQ(read[i].fields, expected[i].fields) << i;
  }
}

}  // namespace
