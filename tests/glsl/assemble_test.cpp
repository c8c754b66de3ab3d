// The last stage end to end below the file level: built-ins and their
// declarations, image names, the prologue in main, and the output text.
#include "glsl/assemble.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "glsl/text/body_text.h"

namespace {

using Table = std::map<std::string, std::string>;
const Table kOneImage = {{"inputImage", "tex0"}};

std::string converted(const std::string& body, const std::string& comment, std::string uniforms,
                      const Table& table) {
  std::string rewritten = glsl::rewrite_body(body, uniforms, table);
  return glsl::assemble(comment, "", uniforms, std::move(rewritten));
}

// Empty comment and define blocks: the output is "\n\n", uniforms, body.
std::string assembled(const std::string& body, const Table& table) {
  return converted(body, "", "", table);
}

std::string inserted(const std::string& body) {
  glsl::BodyText text(body);
  text.insert_into_main("P;");
  return text.text();
}

struct TailCase {
  std::string body, uniforms, expected_body;
};

TEST(Builtins, ReplaceWholeWordsAndDeclareWhatIsUsed) {
  const TailCase cases[] = {
      {"myTIME TIME2 TIME_OFFSET RENDERSIZE_X", "", "myTIME TIME2 TIME_OFFSET RENDERSIZE_X"},
      {"TIME.x (TIME) -TIME", "uniform float time;\n", "time.x (time) -time"},
      {"// uses TIME\n", "uniform float time;\n", "// uses time\n"},
      {"TIMEDELTA", "uniform float time_delta;\n", "time_delta"},
      {"TIMEDELTA + TIME", "uniform float time;\nuniform float time_delta;\n", "time_delta + time"},
      {"RENDERSIZE", "uniform vec2 resolution;\n", "resolution"},
      {"FRAMEINDEX DATE", "uniform vec4 iDate;\nuniform int iFrame;\n", "iFrame iDate"},
      // The iDate declaration ends its line: a directive after it stays one.
      {"#define D DATE\n", "uniform vec4 iDate;\n", "#define D iDate\n"},
      // Every built-in in table order, after the image's size.
      {"FRAMEINDEX DATE TIMEDELTA TIME RENDERSIZE IMG_SIZE(inputImage)",
       "uniform vec2 resolution_tex0;\nuniform vec2 resolution;\nuniform float time;\n"
       "uniform float time_delta;\nuniform vec4 iDate;\nuniform int iFrame;\n",
       "iFrame iDate time_delta time resolution resolution_tex0"},
  };
  for (const TailCase& c : cases) {
    EXPECT_EQ(assembled(c.body, kOneImage), "\n\n" + c.uniforms + c.expected_body) << c.body;
  }
}

TEST(Builtins, ResolutionDependsOnImagesAndPixelReads) {
  const TailCase with_image[] = {
      {"x", "", "x"},
      {"IMG_PIXEL(inputImage, p)", "uniform vec2 resolution;\n", "texture2D(tex0, (p)/resolution)"},
      {"IMG_PIXEL(inputImage, p) RENDERSIZE", "uniform vec2 resolution;\n",
       "texture2D(tex0, (p)/resolution) resolution"},
      {"isf_FragNormCoord.xy isf_FragNormCoord.x isf_FragNormCoord",
       "", "gl_TexCoord[0].xy gl_TexCoord[0].xy.x gl_TexCoord[0].xy"},
      {"texture2D(inputImage, uv)", "", "texture2D(tex0, uv)"},
      // A call left as written still has its image renamed.
      {"IMG_PIXEL(inputImage , p)", "", "IMG_PIXEL(tex0 , p)"},
      // The rectangle's size uniform is declared once, by IMG_SIZE or for it.
      {"void main() {\n_inputImage_imgRect;\n}",
       "uniform vec2 resolution_tex0;\n", "void main() {\nvec4 _inputImage_imgRect = vec4(0.0, 0.0, "
           "resolution_tex0.x, resolution_tex0.y);\n\n_inputImage_imgRect;\n}"},
      {"void main() {\n_inputImage_imgRect; IMG_SIZE(inputImage);\n}",
       "uniform vec2 resolution_tex0;\n", "void main() {\nvec4 _inputImage_imgRect = vec4(0.0, 0.0, "
           "resolution_tex0.x, resolution_tex0.y);\n\n_inputImage_imgRect; resolution_tex0;\n}"},
  };
  for (const TailCase& c : with_image) {
    EXPECT_EQ(assembled(c.body, kOneImage), "\n\n" + c.uniforms + c.expected_body) << c.body;
  }
  const std::string normalised = "vec2 isf_FragNormCoord = gl_FragCoord.xy / resolution.xy;\n";
  const TailCase without_images[] = {
      {"x", "uniform vec2 resolution;\n", "x"},
      {"isf_FragNormCoord", "uniform vec2 resolution;\n", "isf_FragNormCoord"},
      {"void main() {\n}", "uniform vec2 resolution;\n", "void main() {\n" + normalised + "\n}"},
      {"IMG_SIZE(inputImage)", "uniform vec2 resolution;\n", "IMG_SIZE(inputImage)"},
  };
  for (const TailCase& c : without_images) {
    EXPECT_EQ(assembled(c.body, {}), "\n\n" + c.uniforms + c.expected_body) << c.body;
  }
}

struct MainCase {
  std::string body, expected;
};

TEST(InsertIntoMain, FindsTheFirstDefinition) {
  const MainCase cases[] = {
      {"void main() {\nx;\n}", "void main() {\nP;\nx;\n}"},
      {"void main(){gl_FragColor = vec4(1.0);}", "void main(){P;\ngl_FragColor = vec4(1.0);}"},
      {"void main();\nvoid main() {\n}", "void main();\nvoid main() {\nP;\n}"},
      {"// main entry\nvoid main()\n{\n}", "// main entry\nvoid main()\n{\nP;\n}"},
      {"void main ( void )\n\n{  \r\n}", "void main ( void )\n\n{  \r\nP;\n}"},
      {"void main(void){\r\n}\r\n", "void main(void){\r\nP;\n}\r\n"},
      {"void main(){\rx}", "void main(){\rP;\nx}"},
      {"void main(){\t\tx}", "void main(){\t\tP;\nx}"},
      {"void main(){ \n\n}", "void main(){ \nP;\n\n}"},
      {"main(int x) {}", "main(int x) {}"},
      {"main(voidx) {}", "main(voidx) {}"},
      {"main {}", "main {}"},
      {"main() x {}", "main() x {}"},
      {"no entry", "no entry"},
      {"void main() {", "void main() {P;\n"},
      {"main", "main"},
      {std::string("x\0void main(){}", 15), std::string("x\0void main(){}", 15)},
      {"void main(){}\nvoid main(){}", "void main(){P;\n}\nvoid main(){}"},
  };
  for (const MainCase& c : cases) EXPECT_EQ(inserted(c.body), c.expected) << c.body;
}

TEST(InsertIntoMain, LongerIdentifiersDoNotStopTheSearch) {
  const MainCase cases[] = {
      {"float domain;\nvoid main() {\n}", "float domain;\nvoid main() {\nP;\n}"},
      {"vec4 mainImage(); float remaining;\nvoid main(){}",
       "vec4 mainImage(); float remaining;\nvoid main(){P;\n}"},
      {"main_() {} main2(){} main(){}", "main_() {} main2(){} main(){P;\n}"},
      // Neither half of "mainmain" stands alone in the body.
      {"mainmain() {}", "mainmain() {}"},
      {"mainmain(){} main(){}", "mainmain(){} main(){P;\n}"},
  };
  for (const MainCase& c : cases) EXPECT_EQ(inserted(c.body), c.expected) << c.body;
}

struct LineMapCase {
  std::string body;
  Table table;
  std::vector<std::size_t> lines;
};

TEST(LineMap, GivesTheOriginalLineOfEachRewrittenLine) {
  constexpr std::size_t G = glsl::kGeneratedLine;
  const LineMapCase cases[] = {
      {"a\nb\n", kOneImage, {0, 1, 2}},
      {"", kOneImage, {0}},
      // A call over three lines folds into one; the lines after it move up.
      {"a\nx = IMG_PIXEL(\n  inputImage,\n  p);\ny\n", kOneImage, {0, 1, 4, 5}},
      {"IMG_SIZE /*\n*/ (inputImage)\nz", kOneImage, {0, 2}},
      // Arguments keep their own lines; text made for the call counts from
      // the line where the call starts.
      {"x\n  IMG_PIXEL(inputImage, a +\n b\n)", kOneImage, {0, 1, 2, 1}},
      {"IMG_NORM_PIXEL(inputImage,\nuv\n) + IMG_SIZE(inputImage)\nq", kOneImage, {0, 0, 3}},
      {"IMG_PIXEL(inputImage, x +\nIMG_SIZE(inputImage))\nq", kOneImage, {0, 1, 2}},
      // Renamed images and built-ins keep their lines.
      {"TIME\ninputImage\nRENDERSIZE", kOneImage, {0, 1, 2}},
      // Prologue lines, before code on the line of the brace or after it.
      {"void main() {\nx;\n}", {}, {0, G, G, 1, 2}},
      {"// c\nvoid main(){x;}", {}, {0, 1, G, 1}},
      {"void main()\r\n{\r\n_inputImage_imgRect;\n}\n", kOneImage, {0, 1, G, G, 2, 3, 4}},
  };
  for (const LineMapCase& c : cases) {
    std::string uniforms, plain_uniforms;
    std::vector<std::size_t> lines;
    const std::string body = glsl::rewrite_body(c.body, uniforms, c.table, &lines);
    EXPECT_EQ(lines, c.lines) << c.body;
    // Asking for the map changes nothing else.
    EXPECT_EQ(body, glsl::rewrite_body(c.body, plain_uniforms, c.table)) << c.body;
    EXPECT_EQ(uniforms, plain_uniforms) << c.body;
  }
}

TEST(RewriteAndAssemble, JoinsTheBlocksAndTheBodyOnly) {
  EXPECT_EQ(glsl::assemble("", "", "", "b"), "\n\nb");
  EXPECT_EQ(glsl::assemble("// c\n", "#define d\n", "uniform u;\n", "b"),
            "// c\n\n#define d\n\nuniform u;\nb");
}

TEST(RewriteAndAssemble, OneImageAndAFloat) {
  const std::string body =
      "\n"
      "void main() {\n"
      "vec4 c = IMG_THIS_PIXEL(inputImage);\n"
      "vec2 px = isf_FragNormCoord * RENDERSIZE;\n"
      "gl_FragColor = mix(c, IMG_PIXEL(inputImage, px), amount * sin(TIME));\n"
      "}\n";
  const std::string comment = "// ORVANE_FLOAT_PARAM(amount, ID, 0, 1, 0.5, \"No help available.\")\n";
  EXPECT_EQ(converted(body, comment, "uniform sampler2D tex0;\nuniform float amount;\n", kOneImage),
            comment + "\n\n"
                      "uniform sampler2D tex0;\n"
                      "uniform float amount;\n"
                      "uniform vec2 resolution;\n"
                      "uniform float time;\n"
                      "\n"
                      "void main() {\n"
                      "vec4 c = texture2D(tex0, gl_TexCoord[0].xy);\n"
                      "vec2 px = gl_TexCoord[0].xy * resolution;\n"
                      "gl_FragColor = mix(c, texture2D(tex0, (px)/resolution), amount * sin(time));\n"
                      "}\n");
}

TEST(RewriteAndAssemble, NoImages) {
  const std::string body =
      "void main() {\n"
      "\tgl_FragColor = vec4(isf_FragNormCoord, fract(TIME), 1.0);\n"
      "}\n";
  EXPECT_EQ(converted(body, "", "", {}),
            "\n\n"
            "uniform vec2 resolution;\n"
            "uniform float time;\n"
            "void main() {\n"
            "vec2 isf_FragNormCoord = gl_FragCoord.xy / resolution.xy;\n"
            "\n"
            "\tgl_FragColor = vec4(isf_FragNormCoord, fract(time), 1.0);\n"
            "}\n");
}

TEST(RewriteAndAssemble, TintShader) {
  const std::string body =
      "void main() {\n"
      "    vec4 c = IMG_THIS_PIXEL(inputImage);\n"
      "    gl_FragColor = c * gain * (0.5 + 0.5 * sin(TIME));\n"
      "}\n";
  const std::string comment =
      "// CREDIT: by the effects group\n"
      "// ORVANE_PLUGIN_DESC(\"Tints the image\")\n"
      "// ORVANE_FLOAT_PARAM(gain, laoL, 0, 2, 1, \"No help available.\")\n";
  EXPECT_EQ(converted(body, comment, "uniform sampler2D tex0;\nuniform float gain;\n", kOneImage),
            "// CREDIT: by the effects group\n"
            "// ORVANE_PLUGIN_DESC(\"Tints the image\")\n"
            "// ORVANE_FLOAT_PARAM(gain, laoL, 0, 2, 1, \"No help available.\")\n"
            "\n"
            "\n"
            "uniform sampler2D tex0;\n"
            "uniform float gain;\n"
            "uniform float time;\n"
            "void main() {\n"
            "    vec4 c = texture2D(tex0, gl_TexCoord[0].xy);\n"
            "    gl_FragColor = c * gain * (0.5 + 0.5 * sin(time));\n"
            "}\n");
}

}  // namespace
