// The image pass: which calls of IMG_SIZE, IMG_THIS_PIXEL,
// IMG_THIS_NORM_PIXEL, IMG_NORM_PIXEL and IMG_PIXEL become GLSL on the
// sampler, what they become, and the declarations and flag they leave.
#include "glsl/calls/macro_rewrite.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "glsl/text/body_text.h"

namespace {

struct PassCase {
  std::string body, expected, uniforms;
  bool render_size_needed;
};

const std::string kSize = "uniform vec2 resolution_tex0;\n";

void expect_passes(const std::map<std::string, std::string>& table, const PassCase& c) {
  glsl::BodyText body(c.body);
  std::string uniforms = "uniform sampler2D tex0;\n";
  const bool needed = body.run_image_passes(uniforms, table);
  EXPECT_EQ(body.text(), c.expected) << c.body;
  EXPECT_EQ(uniforms, "uniform sampler2D tex0;\n" + c.uniforms) << c.body;
  EXPECT_EQ(needed, c.render_size_needed) << c.body;
}

TEST(ImagePass, RewritesEachMacroOnTheSampler) {
  const PassCase cases[] = {
      {"vec2 s = IMG_SIZE(inputImage);", "vec2 s = resolution_tex0;", kSize, false},
      {"gl_FragColor = IMG_THIS_PIXEL(inputImage);",
       "gl_FragColor = texture2D(tex0, gl_TexCoord[0].xy);", "", false},
      {"c = IMG_THIS_NORM_PIXEL(inputImage);", "c = texture2D(tex0, gl_TexCoord[0].xy);", "",
       false},
      {"vec4 c = IMG_NORM_PIXEL(inputImage, uv + 0.5);", "vec4 c = texture2D(tex0, uv + 0.5);", "",
       false},
      {"vec4 c = IMG_PIXEL(inputImage, gl_FragCoord.xy);",
       "vec4 c = texture2D(tex0, (gl_FragCoord.xy)/resolution);", "", true},
      {"IMG_PIXEL(inputImage, vec2(x, y) * 2.0)", "texture2D(tex0, (vec2(x, y) * 2.0)/resolution)",
       "", true},
      {"IMG_PIXEL(inputImage, IMG_SIZE(inputImage) * 0.5)",
       "texture2D(tex0, (resolution_tex0 * 0.5)/resolution)", kSize, true},
      // Two sizes declare the uniform once.
      {"IMG_SIZE(inputImage) + IMG_SIZE(inputImage)", "resolution_tex0 + resolution_tex0", kSize,
       false},
  };
  for (const PassCase& c : cases) expect_passes({{"inputImage", "tex0"}}, c);
}

TEST(ImagePass, ReadsSpacingAndCommentsAsTheSplitterDoes) {
  const PassCase cases[] = {
      {"IMG_PIXEL (inputImage, p)", "texture2D(tex0, (p)/resolution)", "", true},
      {"IMG_PIXEL/* a */(inputImage, p)", "texture2D(tex0, (p)/resolution)", "", true},
      {"IMG_PIXEL\n\t/**/ /* b */(inputImage, p)", "texture2D(tex0, (p)/resolution)", "", true},
      {"IMG_NORM_PIXEL( inputImage, uv)", "texture2D(tex0, uv)", "", false},
      {"IMG_NORM_PIXEL(/* x */inputImage,uv )", "texture2D(tex0, uv )", "", false},
      {"IMG_NORM_PIXEL(inputImage,\n  /* c */ uv)", "texture2D(tex0, /* c */ uv)", "", false},
      // Blanks before a comma stay in the first argument, which then differs.
      {"IMG_PIXEL(inputImage , p)", "IMG_PIXEL(inputImage , p)", "", false},
      // A "(" hidden in the leading comment still counts for the ")" search,
      // which then runs to the end, taking the rest with the call.
      {"IMG_SIZE(/* ( */ inputImage) + x", "resolution_tex0", kSize, false},
      // A ")" hidden there ends the call inside the comment: no argument.
      {"IMG_SIZE(/* ) */ inputImage)", "IMG_SIZE(/* ) */ inputImage)", "", false},
  };
  for (const PassCase& c : cases) expect_passes({{"inputImage", "tex0"}}, c);
}

TEST(ImagePass, LeavesCallsThatDoNotQualify) {
  const PassCase cases[] = {
      {"IMG_PIXEL(inputImage)", "IMG_PIXEL(inputImage)", "", false},
      {"IMG_NORM_PIXEL(inputImage, uv, 1.0)", "IMG_NORM_PIXEL(inputImage, uv, 1.0)", "", false},
      {"IMG_PIXEL(inputImage, )", "IMG_PIXEL(inputImage, )", "", false},
      {"IMG_SIZE(inputImage, )", "resolution_tex0", kSize, false},
      {"IMG_SIZE(other)", "IMG_SIZE(other)", "", false},
      {"IMG_SIZE;", "IMG_SIZE;", "", false},
      {"x = IMG_SIZE", "x = IMG_SIZE", "", false},
      {"myIMG_SIZE(inputImage) IMG_SIZE2(inputImage)", "myIMG_SIZE(inputImage) IMG_SIZE2(inputImage)",
       "", false},
      {"IMG_SIZE()", "IMG_SIZE()", "", false},
  };
  for (const PassCase& c : cases) expect_passes({{"inputImage", "tex0"}}, c);
}

TEST(ImagePass, NestedUnclosedAndCommentedCalls) {
  const PassCase cases[] = {
      // The inner call is copied with the outer one's second argument.
      {"IMG_NORM_PIXEL(inputImage, IMG_NORM_PIXEL(inputImage, uv).xy)",
       "texture2D(tex0, IMG_NORM_PIXEL(inputImage, uv).xy)", "", false},
      // A call that does not qualify is read on, so the one inside it is rewritten.
      {"IMG_NORM_PIXEL(inputImage, IMG_NORM_PIXEL(inputImage, uv), 1.0)",
       "IMG_NORM_PIXEL(inputImage, texture2D(tex0, uv), 1.0)", "", false},
      // A later macro of the pass is rewritten wherever it stands.
      {"IMG_NORM_PIXEL(inputImage, IMG_PIXEL(inputImage, p).xy)",
       "texture2D(tex0, texture2D(tex0, (p)/resolution).xy)", "", true},
      {"x = IMG_SIZE(inputImage", "x = resolution_tex0", kSize, false},
      {"IMG_PIXEL(inputImage, p", "texture2D(tex0, (p)/resolution)", "", true},
      {"// IMG_SIZE(inputImage)\n", "// resolution_tex0\n", kSize, false},
      {"/* IMG_THIS_PIXEL(inputImage) */", "/* texture2D(tex0, gl_TexCoord[0].xy) */", "", false},
      // The names stay apart: each macro only matches its own calls.
      {"IMG_THIS_NORM_PIXEL(inputImage) IMG_THIS_PIXEL(inputImage)",
       "texture2D(tex0, gl_TexCoord[0].xy) texture2D(tex0, gl_TexCoord[0].xy)", "", false},
  };
  for (const PassCase& c : cases) expect_passes({{"inputImage", "tex0"}}, c);
}

TEST(ImagePass, EmptyTableChangesNothing) {
  expect_passes({}, {"IMG_SIZE(inputImage) IMG_PIXEL(inputImage, p)",
                     "IMG_SIZE(inputImage) IMG_PIXEL(inputImage, p)", "", false});
}

TEST(ImagePass, ImagesRunInByteOrderOfTheirNames) {
  glsl::BodyText body("IMG_SIZE(mask) IMG_SIZE(inputImage) IMG_SIZE(Zed)");
  std::string uniforms;
  body.run_image_passes(uniforms, {{"mask", "tex0"}, {"inputImage", "tex1"}, {"Zed", "tex2"}});
  EXPECT_EQ(body.text(), "resolution_tex0 resolution_tex1 resolution_tex2");
  EXPECT_EQ(uniforms,
            "uniform vec2 resolution_tex2;\n"
            "uniform vec2 resolution_tex1;\n"
            "uniform vec2 resolution_tex0;\n");
}

struct MacroCase {
  glsl::MacroRewrite rewrite;
  std::string text, expected;
};

TEST(RewriteImageMacro, BuildsTheReplacementFromItsParts) {
  const MacroCase cases[] = {
      // Without a function the arguments stand alone, without parentheses.
      {{"M", "", 2, "a", "A", "/s", "t"}, "M(a, b)", "A, b, t"},
      {{"M", "f", 2, "", "", "", "t"}, "M(a, b)", "f(a, b, t)"},
      {{"M", "f", 1, "", "", "", ""}, "M( x /* y */ )", "f(x /* y */ )"},
      {{"M", "f", 2, "a", "A", "/s", ""}, "M(a,b)+M(a,c)", "f(A, (b)/s)+f(A, (c)/s)"},
  };
  for (const MacroCase& c : cases) {
    glsl::BodyText text(c.text);
    EXPECT_TRUE(text.rewrite_image_macro(c.rewrite)) << c.text;
    EXPECT_EQ(text.text(), c.expected) << c.text;
  }
  glsl::BodyText text("M(a)");
  EXPECT_FALSE(text.rewrite_image_macro({"M", "f", 2, "", "", "", ""}));
  EXPECT_EQ(text.text(), "M(a)");
}

}  // namespace
