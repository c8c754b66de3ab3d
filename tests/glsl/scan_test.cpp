// Whole-word search, whole-word replacement and argument splitting: the
// cases that decide what counts as one identifier and one argument.
#include "glsl/scan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "glsl/body_text.h"

namespace {

constexpr std::size_t npos = std::string::npos;

struct FindCase {
  std::string text, word;
  bool whole;
  std::size_t position;
};

TEST(FindWholeWord, JudgesOnlyTheFirstOccurrence) {
  const FindCase cases[] = {
      {"void main() {", "main", true, 5},
      {"domain(); void main() {", "main", false, 2},
      {"TIME", "TIME", true, 0},
      {"x = TIME", "TIME", true, 4},
      {"TIME2", "TIME", false, 0},
      {"2TIME", "TIME", false, 1},
      {"TIME.x", "TIME", true, 0},
      {"v[TIME]", "TIME", true, 2},
      {"a TIME b", "TIME", true, 2},
      {"no such word", "TIME", false, npos},
      {"", "TIME", false, npos},
      // The whole string is searched, NULs included.
      {std::string("a\0TIME", 6), "TIME", true, 2},
  };
  for (const FindCase& c : cases) {
    std::size_t position = 12345;
    EXPECT_EQ(glsl::find_whole_word(c.text, c.word, position), c.whole) << c.text;
    EXPECT_EQ(position, c.position) << c.text;
  }
}

struct ReplaceCase {
  std::string text, old_name, new_name, expected;
  bool replaced;
};

TEST(ReplaceWholeWord, ReplacesWholeIdentifiersOnly) {
  const ReplaceCase cases[] = {
      {"TIME+TIMEDELTA*myTIME", "TIME", "time", "time+TIMEDELTA*myTIME", true},
      {"TIMEDELTA", "TIME", "time", "TIMEDELTA", false},
      {"TIME2 TIME_OFFSET x_TIME", "TIME", "time", "TIME2 TIME_OFFSET x_TIME", false},
      {"TIME.x (TIME) -TIME", "TIME", "time", "time.x (time) -time", true},
      {"// TIME", "TIME", "time", "// time", true},
      {"v = isf_FragNormCoord.xy;", "isf_FragNormCoord.xy", "gl_TexCoord[0].xy",
       "v = gl_TexCoord[0].xy;", true},
      {"isf_FragNormCoord.xyz", "isf_FragNormCoord.xy", "gl_TexCoord[0].xy",
       "isf_FragNormCoord.xyz", false},
      {"TIM", "TIME", "time", "TIM", false},
      {"", "TIME", "time", "", false},
      // A replaced occurrence is consumed whole: the overlapping second
      // "a a" is not seen.
      {"a a a", "a a", "X", "X a", true},
      // Names that cannot start an identifier never match.
      {"2x 2x", "2x", "y", "2x 2x", false},
      {".xy .xy", ".xy", "y", ".xy .xy", false},
      {"abc", "", "y", "abc", false},
      // The text ends at its first NUL: nothing after it is copied.
      {std::string("TIME\0TIME", 9), "TIME", "time", "time", true},
      {std::string("ab\0cd", 5), "", "y", "ab", false},
  };
  for (const ReplaceCase& c : cases) {
    glsl::BodyText body(c.text);
    EXPECT_EQ(body.replace_whole_word(c.old_name, c.new_name), c.replaced) << c.text;
    EXPECT_EQ(body.text(), c.expected) << c.text;
  }
}

struct SplitCase {
  std::string text;
  std::vector<std::string> arguments;
};

TEST(SplitCallArguments, CutsTopLevelArguments) {
  const SplitCase cases[] = {
      {"image, uv) + 1.0", {"image", "uv"}},
      {"/* c */ image , uv )", {"image ", "uv "}},
      {"a, , b)", {"a", "", "b"}},
      {"a, )", {"a"}},
      {"f(a, b), c)", {"f(a, b)", "c"}},
      {")", {}},
      {"", {}},
      {" \t\r\n", {}},
      {"p[1,2])", {"p[1", "2]"}},
      {"{a,b})", {"{a", "b}"}},
      {"a,/* c */b)", {"a", "/* c */b"}},
      {" /* a *//**/\n x)", {"x"}},
      {"/* never closed", {}},
      {"/*/ x */ y)", {"y"}},
      {"a, b", {"a", "b"}},
      {"a)(b, c)", {"a"}},
      {std::string("a, b\0, c)", 9), {"a", "b"}},
      {std::string("\0a)", 3), {}},
  };
  for (const SplitCase& c : cases) {
    EXPECT_EQ(glsl::split_call_arguments(c.text), c.arguments) << c.text;
  }
}

}  // namespace
