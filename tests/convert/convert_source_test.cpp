// Where the body needs more than the header's declarations: points and
// events the body uses in its own way, the legacy and the global normalised
// coordinate, and the shaders that give no text at all.
#include "convert/convert_source.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using convert::HeaderOutcome;
using namespace std::string_literals;

const std::string kCoordinate = "vec2 isf_FragNormCoord = gl_FragCoord.xy / resolution.xy;\n";
const std::string kCenter = R"({"NAME": "center", "TYPE": "point2D", "MIN": [0, 0], "MAX": [1, 1], "DEFAULT": [0.5, 0.25]})";
const std::string kCenterLines =
    "// ORVANE_FLOAT_PARAM(center_x, tvT}, 0, 1, 0.5, \"No help available.\")\n"
    "// ORVANE_FLOAT_PARAM(center_y, }%&g, 0, 1, 0.25, \"No help available.\")\n\n";
const std::string kFlashLine = "// ORVANE_INT_PARAM(flash, At}y, 0, 1, 0, \"No help available.\")\n\n\n";

struct TextCase {
  const char* what;
  std::string file;
  std::string text;
};

TEST(ConvertSource, BodyUsesOfInputsAndCoordinate) {
  const std::string point = "/*{\"INPUTS\": [" + kCenter + "]}*/\n";
  const std::string flash = "/*{\"INPUTS\": [{\"NAME\": \"flash\", \"TYPE\": \"event\"}]}*/\n";
  const std::string point_uniforms = "uniform float center_x;\nuniform float center_y;\n";
  const TextCase cases[] = {
      {"a point the body declares is a global set in main",
       point + "float d(vec2 center) { return center.x; }\nvoid main() {\nd(center);\n}\n",
       kCenterLines + "\n" + point_uniforms + "vec2 center;\nuniform vec2 resolution;\n" +
           "float d(vec2 center) { return center.x; }\nvoid main() {\n" + kCoordinate +
           "center = vec2(center_x,center_y);\n\nd(center);\n}\n"},
      {"no declaration: the define stays",
       point + "void main() {\nmyvec2 center; vec2/**/center; vec2(center);\n}\n",
       kCenterLines + "#define center vec2(center_x,center_y)\n\n" + point_uniforms +
           "uniform vec2 resolution;\nvoid main() {\n" + kCoordinate +
           "\nmyvec2 center; vec2/**/center; vec2(center);\n}\n"},
      {"an event tested as a condition is compared with 0",
       flash + "void main() {\nbool b = !flash || (flash) && flash;\nif (flash) b = flash ? b : b;\n}\n",
       kFlashLine + "uniform int flash;\nuniform vec2 resolution;\nvoid main() {\n" + kCoordinate +
           "\nbool b = !(flash != 0) || ((flash != 0)) && (flash != 0);\n"
           "if ((flash != 0)) b = (flash != 0) ? b : b;\n}\n"},
      {"an event the body declares, or uses as a number, stays",
       flash + "void main() {\nint n = flash + 1;\nif (n == flash) {}\n}\nvoid f() { int flash = 0; if (flash) {} }\n",
       kFlashLine + "uniform int flash;\nuniform vec2 resolution;\nvoid main() {\n" + kCoordinate +
           "\nint n = flash + 1;\nif (n == flash) {}\n}\nvoid f() { int flash = 0; if (flash) {} }\n"},
      {"the legacy coordinate name, with an image",
       "/*{\"INPUTS\": [{\"NAME\": \"i\", \"TYPE\": \"image\"}]}*/\nvec2 p = vv_FragNormCoord.xy + vv_FragNormCoord;\n",
       "\n\nuniform sampler2D tex0;\nvec2 p = gl_TexCoord[0].xy + gl_TexCoord[0].xy;\n"},
      {"the coordinate read outside main is a global",
       "/*{}*/\nfloat v() { return isf_FragNormCoord.x; }\nvoid main() {\nv();\n}\nfloat w = vv_FragNormCoord.y;\n",
       "\n\nuniform vec2 resolution;\nvec2 isf_FragNormCoord;\nfloat v() { return isf_FragNormCoord.x; }\n"
       "void main() {\nisf_FragNormCoord = gl_FragCoord.xy / resolution.xy;\n\nv();\n}\n"
       "float w = isf_FragNormCoord.y;\n"},
      {"read only inside main, braces in comments counted out",
       "/*{}*/\nvoid main() {\n// }\n/* } */ float x = isf_FragNormCoord.x;\n}\n",
       "\n\nuniform vec2 resolution;\nvoid main() {\n" + kCoordinate +
           "\n// }\n/* } */ float x = isf_FragNormCoord.x;\n}\n"},
      {"line breaks and NULs in the credit and the description",
       "/*{\"CREDIT\": \"a\\u0000b\", \"DESCRIPTION\": \"c\\nd\\u0000\"}*/\nx\n",
       "// CREDIT: a b\n// ORVANE_PLUGIN_DESC(\"c d \")\n\n\nuniform vec2 resolution;\nx\n"},
  };
  for (const TextCase& c : cases) {
    convert::SourceConversion conversion = convert::convert_source(c.file);
    EXPECT_EQ(conversion.header, HeaderOutcome::read) << c.what;
    EXPECT_EQ(conversion.text, c.text) << c.what;
  }
}

struct OutcomeCase {
  const char* what;
  std::string file;
  HeaderOutcome outcome;
};

TEST(ConvertSource, RefusalsAndShadersWithoutCode) {
  const std::string audio = "/*{\"INPUTS\": [{\"NAME\": \"sound\", \"TYPE\": \"audioFFT\"}]}*/\n";
  const OutcomeCase cases[] = {
      {"an audio input the body uses", audio + "vec4 c = IMG_PIXEL(sound, p);\n", HeaderOutcome::audio},
      {"any case of the type word", "/*{\"INPUTS\": [{\"NAME\": \"s\", \"TYPE\": \"AUDIO\"}]}*/\ns;\n",
       HeaderOutcome::audio},
      {"an audio input the body does not use", audio + "float soundx;\n", HeaderOutcome::read},
      {"other shapes of input are passed over",
       "/*{\"INPUTS\": [7, {\"NAME\": 1, \"TYPE\": \"audio\"}, {\"NAME\": \"s\", \"TYPE\": \"audio\"}]}*/\ns;\n",
       HeaderOutcome::audio},
      {"an imported object member the body uses",
       "/*{\"IMPORTED\": {\"noise\": {\"PATH\": \"n.png\"}}}*/\nnoise;\n", HeaderOutcome::imported},
      {"an imported array element the body uses",
       "/*{\"IMPORTED\": [{\"NAME\": \"noise\"}]}*/\nx = noise;\n", HeaderOutcome::imported},
      {"an imported image the body does not use",
       "/*{\"IMPORTED\": [{\"NAME\": \"noise\"}]}*/\nnoise2;\n", HeaderOutcome::read},
      {"several passes come first", "/*{\"PASSES\": [{}]}*/\n", HeaderOutcome::multi_pass},
      {"no header", "void main() {}\n", HeaderOutcome::no_header},
      {"a header that never closes", "/*{}*/ void main() {}\n", HeaderOutcome::header_never_closes},
      {"CR-only line ends read as one line", "/*{}*/\rvoid main() {}\r", HeaderOutcome::header_never_closes},
      {"nothing but blanks after the header", "/*{}*/\n \t\n\n", HeaderOutcome::no_code},
      {"blanks up to a NUL", "/*{\"CREDIT\": 1}*/\n \0void main() {}\n"s, HeaderOutcome::no_code},
      {"not JSON, and no code", "/*\nnot json\n*/\n", HeaderOutcome::no_code},
  };
  for (const OutcomeCase& c : cases) {
    convert::SourceConversion conversion = convert::convert_source(c.file);
    EXPECT_EQ(conversion.header, c.outcome) << c.what;
    if (convert::gives_no_text(c.outcome)) {
      EXPECT_EQ(conversion.text, "") << c.what;
    }
  }
}

// The details a page shows: the header's facts, also of a refused shader,
// with members of another JSON type skipped, and the text's parameters.
TEST(ConvertSource, DetailsOnRequest) {
  struct DetailsCase {
    const char* what;
    std::string file;
    std::string facts;  // credit|description|categories,|inputs name:type,|imported,
    std::size_t parameters;
  };
  const DetailsCase cases[] = {
      {"every fact and one parameter",
       "/*{\"CREDIT\": \"me\", \"DESCRIPTION\": \"waves\", \"CATEGORIES\": [\"a\", 2, \"b\"],"
       " \"INPUTS\": [{\"NAME\": \"level\", \"TYPE\": \"float\"}, 3, {\"NAME\": \"snd\"}],"
       " \"IMPORTED\": {\"noise\": {}}}*/\nvoid main() {}\n",
       "me|waves|a,b,|level:float,:,snd:,|noise,", 1},
      {"a refused shader keeps its facts",
       "/*{\"CREDIT\": \"me\", \"PASSES\": [{}]}*/\nvoid main() {}\n", "me||||", 0},
      {"members of another type are skipped",
       "/*{\"CREDIT\": 1, \"CATEGORIES\": \"a\", \"IMPORTED\": [{\"NAME\": \"n\"}, 2]}*/\nx;\n",
       "||||n,", 0},
      {"an unreadable header gives none", "/*{\"CREDIT\": \"me\",}*/\nx;\n", "||||", 0},
  };
  for (const DetailsCase& c : cases) {
    convert::SourceConversion conversion = convert::convert_source(c.file, true);
    const convert::HeaderFacts& facts = conversion.facts;
    std::string seen = facts.credit + "|" + facts.description + "|";
    for (const std::string& category : facts.categories) seen += category + ",";
    seen += "|";
    for (const convert::HeaderInput& input : facts.inputs) seen += input.name + ":" + input.type + ",";
    seen += "|";
    for (const std::string& name : facts.imported) seen += name + ",";
    EXPECT_EQ(seen, c.facts) << c.what;
    EXPECT_EQ(conversion.parameters.size(), c.parameters) << c.what;
  }
  EXPECT_TRUE(convert::convert_source(cases[0].file).facts.inputs.empty());
}

}  // namespace
