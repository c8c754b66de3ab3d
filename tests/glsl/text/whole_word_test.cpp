// Whole-word search and whole-word replacement: the cases that decide what
// counts as one identifier.
#include "glsl/text/whole_word.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "glsl/text/body_text.h"

namespace {

constexpr std::size_t npos = std::string::npos;

struct FindCase {
  std::string text, word;
  bool whole;
  std::size_t position;
};

TEST(FirstOccurrenceIsWholeWord, JudgesOnlyTheFirstOccurrence) {
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
    EXPECT_EQ(glsl::first_occurrence_is_whole_word(c.text, c.word, position), c.whole) << c.text;
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

}  // namespace
