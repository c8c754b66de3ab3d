// The line reader: which lines become header text, which become body, and how
// white space, line ends, a one-line header and a byte-order mark are read.
#include "isf/source_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using isf::match_header_end;
using isf::match_header_start;
using isf::read_shader_source;
using namespace std::string_literals;

struct LineCase {
  std::string line;
  bool matches;
  std::string piece;
};

TEST(HeaderLineTests, OpeningLine) {
  const LineCase cases[] = {
      {"/*", true, ""},
      {"/*{", true, "{"},
      {"  \t/* {\"A\": 1}", true, " {\"A\": 1}"},
      {"\r\v\f/*x */", true, "x */"},
      {"x/*", false, ""},
      {"/", false, ""},
      {"/ *", false, ""},
      {"", false, ""},
      {"// /*", false, ""},
      {"\xA0/*", false, ""},       // bytes above 0x7F are never white space
      {"\0/*"s, false, ""},         // the line ends at its first NUL
      {" /\0*"s, false, ""},
      {"/*ab\0cd"s, true, "ab"},
  };
  for (const LineCase& c : cases) {
    std::string rest = "stale";
    EXPECT_EQ(match_header_start(c.line, rest), c.matches) << c.line;
    EXPECT_EQ(rest, c.piece) << c.line;
  }
}

TEST(HeaderLineTests, ClosingLine) {
  const LineCase cases[] = {
      {"*/", true, ""},
      {" */", true, " "},
      {"}  */  ", true, "}  "},
      {"*/ \t\r", true, ""},
      {"  } */", true, "  } "},
      {"/* x */", true, "/* x "},
      {"/", false, ""},
      {"x/", false, ""},
      {"* /", false, ""},
      {"   ", false, ""},
      {"", false, ""},
      {"*/\xA0", false, ""},
      {"*/;", false, ""},
  };
  for (const LineCase& c : cases) {
    std::string before = "stale";
    EXPECT_EQ(match_header_end(c.line, before), c.matches) << c.line;
    EXPECT_EQ(before, c.piece) << c.line;
  }
}

// CR LF line ends read exactly like LF line ends.
TEST(ReadShaderSourceTests, SplitsPreambleHeaderAndBody) {
  for (std::string end : {"\n", "\r\n"}) {
    const std::string file = "// a line comment" + end + "  /*{" + end + "\t\"NAME\": \"x\"" + end +
                             "}  */  " + end + "void main() {" + end + end + "}" + end;
    isf::ShaderSource source = read_shader_source(file);
    EXPECT_EQ(source.header_text, "{\n\t\"NAME\": \"x\"\n}  \n");
    EXPECT_EQ(source.body, "void main() {\n\n}\n");
  }
}

TEST(ReadShaderSourceTests, StrayCarriageReturnStaysInBodyLines) {
  isf::ShaderSource source = read_shader_source("/*\n{}\r\r\n*/\r\na\rb\r\r\nc\r");
  EXPECT_EQ(source.header_text, "{}\r\n");
  EXPECT_EQ(source.body, "a\rb\r\nc\r\n");
}

TEST(ReadShaderSourceTests, BareOpeningAndClosingLinesAddOnlyTheirLines) {
  isf::ShaderSource source = read_shader_source("/*\n\n{}\n*/\nbody");
  // The empty header line contributes a lone line feed; a last line without a
  // line feed is still a line.
  EXPECT_EQ(source.header_text, "\n{}\n");
  EXPECT_EQ(source.body, "body\n");
}

TEST(ReadShaderSourceTests, OnlyTheFirstOpeningLineStartsTheHeader) {
  isf::ShaderSource source = read_shader_source("/*{}\n*/\n/* more */\n#version 110\n/*\n");
  EXPECT_EQ(source.header_text, "{}\n");
  EXPECT_EQ(source.body, "/* more */\n#version 110\n/*\n");
}

TEST(ReadShaderSourceTests, FileWithoutHeaderGivesNothing) {
  isf::ShaderSource source = read_shader_source("void main() {}\n// no comment here\n");
  EXPECT_EQ(source.header_text, "");
  EXPECT_EQ(source.body, "");
  source = read_shader_source("");
  EXPECT_EQ(source.header_text, "");
  EXPECT_EQ(source.body, "");
}

TEST(ReadShaderSourceTests, UnclosedHeaderTakesTheRestOfTheFile) {
  isf::ShaderSource source = read_shader_source("/*{\n\"A\": 1\n}\nvoid main() {}\n");
  EXPECT_EQ(source.header_text, "{\n\"A\": 1\n}\nvoid main() {}\n");
  EXPECT_EQ(source.body, "");
}

TEST(ReadShaderSourceTests, OneLineHeaderClosesOnItsOwnLine) {
  isf::ShaderSource source = read_shader_source("/* {\"DESCRIPTION\": \"d\"} */ \nvoid main() {}\n");
  EXPECT_EQ(source.header_text, " {\"DESCRIPTION\": \"d\"} \n");
  EXPECT_EQ(source.body, "void main() {}\n");

  source = read_shader_source("/**/\nbody\n");
  EXPECT_EQ(source.header_text, "");
  EXPECT_EQ(source.body, "body\n");

  // "/*/" opens a comment without closing it.
  source = read_shader_source("/*/\n{}\n*/\nbody\n");
  EXPECT_EQ(source.header_text, "/\n{}\n");
  EXPECT_EQ(source.body, "body\n");
}

TEST(ReadShaderSourceTests, ByteOrderMarkAtTheStartIsSkipped) {
  isf::ShaderSource source = read_shader_source("\xEF\xBB\xBF/*{\n}*/\nbody\xEF\xBB\xBF\n");
  EXPECT_EQ(source.header_text, "{\n}\n");
  EXPECT_EQ(source.body, "body\xEF\xBB\xBF\n");

  // Only at the very start: anywhere else it is an ordinary byte that keeps
  // the line from opening the header.
  source = read_shader_source("\n\xEF\xBB\xBF/*{}\n*/\n");
  EXPECT_EQ(source.header_text, "");
  EXPECT_EQ(source.body, "");
  source = read_shader_source("\xEF\xBB/*{}\n*/\n");
  EXPECT_EQ(source.header_text, "");
}

TEST(ReadShaderSourceTests, NulBytesPassThroughBodyLines) {
  isf::ShaderSource source = read_shader_source("/*{}\n*/\na\0b\n"s);
  EXPECT_EQ(source.body, "a\0b\n"s);
}

}  // namespace
