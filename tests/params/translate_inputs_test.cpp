// Translation of a whole "INPUTS" array: the documented nine-input example,
// sampler numbering, and where translation stops on a malformed input.
#include "params/translate_inputs.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using nlohmann::json;
using params::ShaderBlocks;

ShaderBlocks translate(const char* inputs_json) {
  ShaderBlocks blocks;
  params::translate_inputs(json::parse(inputs_json), blocks);
  return blocks;
}

TEST(TranslateInputsTests, NineInputExample) {
  ShaderBlocks blocks = translate(R"([
    {"NAME": "photo", "TYPE": "image"},
    {"NAME": "invert", "TYPE": "bool", "DEFAULT": 1},
    {"NAME": "flash", "TYPE": "event"},
    {"NAME": "gain", "TYPE": "float", "MIN": 0, "MAX": 2.5, "DEFAULT": 0.75},
    {"NAME": "level", "TYPE": "FLOAT"},
    {"NAME": "mode", "TYPE": "long", "LABELS": ["a", "b", "c"], "DEFAULT": 1},
    {"NAME": "tint", "TYPE": "color", "DEFAULT": [1.0, 0.5, 0.0, 1.0]},
    {"NAME": "center", "TYPE": "point2D", "MIN": [0, 0], "MAX": [1, 1], "DEFAULT": [0.5, 0.25]},
    {"NAME": "spectrum", "TYPE": "spectrum"}
  ])");
  EXPECT_EQ(blocks.comment,
            "// ORVANE_INT_PARAM_ONOFF(invert, }eJ_, 1, \"No help available.\")\n"
            "// ORVANE_INT_PARAM(flash, At}y, 0, 1, 0, \"No help available.\")\n"
            "// ORVANE_FLOAT_PARAM(gain, laoL, 0, 2.5, 0.75, \"No help available.\")\n"
            "// ORVANE_FLOAT_PARAM(level, M*EO, -1000000, +1000000, 0, \"No help available.\")\n"
            "// ORVANE_INT_PARAM(mode, aZHp, 0, 2, 1, \"No help available.\")\n"
            "// ORVANE_VEC4_COLOR_PARAM(tint, s-XL, 0xFFFF7F00, \"No help available.\")\n"
            "// ORVANE_FLOAT_PARAM(center_x, tvT}, 0, 1, 0.5, \"No help available.\")\n"
            "// ORVANE_FLOAT_PARAM(center_y, }%&g, 0, 1, 0.25, \"No help available.\")\n");
  EXPECT_EQ(blocks.uniforms,
            "uniform sampler2D tex0;\n"
            "uniform bool invert;\n"
            "uniform int flash;\n"
            "uniform float gain;\n"
            "uniform float level;\n"
            "uniform int mode;\n"
            "uniform vec4 tint;\n"
            "uniform float center_x;\n"
            "uniform float center_y;\n");
  EXPECT_EQ(blocks.defines, "#define center vec2(center_x,center_y)\n");
  EXPECT_EQ(blocks.image_table, (params::ImageTable{{"photo", "tex0"}}));
  EXPECT_EQ(blocks.image_count, 1u);
}

TEST(TranslateInputsTests, AppendsAfterWhatTheBlocksAlreadyHold) {
  ShaderBlocks blocks;
  blocks.comment = "// CREDIT: me\n";
  params::translate_inputs(json::parse(R"([{"NAME": "on", "TYPE": "bool"}])"), blocks);
  EXPECT_EQ(blocks.comment.rfind("// CREDIT: me\n// ORVANE_INT_PARAM_ONOFF(on, ", 0), 0u);
}

TEST(TranslateInputsTests, NoInputsTranslateNothing) {
  for (const char* inputs : {"null", "[]", "{\"NAME\": \"a\", \"TYPE\": \"float\"}", "\"INPUTS\"", "3"}) {
    ShaderBlocks blocks = translate(inputs);
    EXPECT_EQ(blocks.comment, "") << inputs;
    EXPECT_EQ(blocks.uniforms, "") << inputs;
    EXPECT_EQ(blocks.defines, "") << inputs;
    EXPECT_TRUE(blocks.image_table.empty()) << inputs;
    EXPECT_EQ(blocks.image_count, 0u) << inputs;
  }
}

TEST(TranslateInputsTests, ImagesAreNumberedInOrderSkippingNamelessInputs) {
  ShaderBlocks blocks = translate(R"([
    {"NAME": "amount", "TYPE": "float"},
    {"NAME": "b", "TYPE": "image"},
    {"NAME": "", "TYPE": "image"},
    {"NAME": "a", "TYPE": "IMAGE"},
    {"NAME": "b", "TYPE": "Image"}
  ])");
  EXPECT_EQ(blocks.uniforms,
            "uniform float amount;\n"
            "uniform sampler2D tex0;\n"
            "uniform sampler2D tex1;\n"
            "uniform sampler2D tex2;\n");
  EXPECT_EQ(blocks.image_table, (params::ImageTable{{"a", "tex1"}, {"b", "tex0"}}));
  EXPECT_EQ(blocks.image_count, 3u);
  EXPECT_EQ(blocks.comment.find("amount"), std::string("// ORVANE_FLOAT_PARAM(").size());
}

TEST(TranslateInputsTests, UnknownTypesAndNamelessInputsProduceNothing) {
  ShaderBlocks blocks = translate(R"([
    {"NAME": "s", "TYPE": "audioFFT"}, {"NAME": "t", "TYPE": ""}, {"NAME": "u", "TYPE": "floats"},
    {"NAME": "", "TYPE": "float"}, {"NAME": "", "TYPE": "point2D"}
  ])");
  EXPECT_EQ(blocks.comment, "");
  EXPECT_EQ(blocks.uniforms, "");
  EXPECT_EQ(blocks.defines, "");
}

TEST(TranslateInputsTests, NamesAreCopiedUnchangedAndRepeatsDeclareTwice) {
  ShaderBlocks blocks = translate(R"([
    {"NAME": "a b,\"c\"", "TYPE": "int"}, {"NAME": "a b,\"c\"", "TYPE": "int"}
  ])");
  EXPECT_EQ(blocks.uniforms, "uniform int a b,\"c\";\nuniform int a b,\"c\";\n");
  std::string line = blocks.comment.substr(0, blocks.comment.find('\n') + 1);
  EXPECT_EQ(line.rfind("// ORVANE_INT_PARAM(a b,\"c\", ", 0), 0u);
  EXPECT_EQ(blocks.comment, line + line);
}

// Each malformed input stands third of five; the two before it stay, nothing
// of it or after it is translated.
TEST(TranslateInputsTests, MalformedInputStopsTranslationKeepingEarlierOutput) {
  const char* malformed[] = {
      R"({"TYPE": "float"})",
      R"({"NAME": "x"})",
      R"({"NAME": "x", "type": "float"})",
      R"({"NAME": 3, "TYPE": "float"})",
      R"({"NAME": "x", "TYPE": null})",
      R"({"NAME": "x", "TYPE": ["float"]})",
      R"(["x", "float"])",
      R"("x")",
      R"(null)",
  };
  for (const char* input : malformed) {
    std::string inputs = std::string(R"([{"NAME": "pic", "TYPE": "image"}, {"NAME": "on", "TYPE": "bool"}, )") +
                         input +
                         R"(, {"NAME": "later", "TYPE": "image"}, {"NAME": "p", "TYPE": "point2D"}])";
    ShaderBlocks blocks;
    EXPECT_THROW(params::translate_inputs(json::parse(inputs), blocks), json::type_error) << input;
    EXPECT_EQ(blocks.comment, "// ORVANE_INT_PARAM_ONOFF(on, q_Y^, 0, \"No help available.\")\n") << input;
    EXPECT_EQ(blocks.uniforms, "uniform sampler2D tex0;\nuniform bool on;\n") << input;
    EXPECT_EQ(blocks.defines, "") << input;
    EXPECT_EQ(blocks.image_table, (params::ImageTable{{"pic", "tex0"}})) << input;
    EXPECT_EQ(blocks.image_count, 1u) << input;
  }
}

}  // namespace
