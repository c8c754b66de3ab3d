// The call syntax: how the arguments of a call are cut, the cases that
// decide what counts as one argument.
#include "glsl/calls/call_syntax.h"

#include <gtest/gtest.h>

#include <string>

#include "glsl/calls/macro_rewrite.h"
#include "glsl/text/body_text.h"

namespace {

// The argument splitting that decides whether a call qualifies, seen through
// a rewrite that takes any first argument and the expected count: f(A1)
// for one argument, f(A1, A2) for two; with three only A1 is written.
struct SplitCase {
  std::string text;
  std::size_t count;
  std::string expected;
};

TEST(SplitCallArguments, CutsTopLevelArguments) {
  const SplitCase cases[] = {
      {"M(image, uv) + 1.0", 2, "f(image, uv) + 1.0"},
      {"M(/* c */ image , uv )", 2, "f(image , uv )"},
      {"M(a, , b)", 3, "f(a)"},
      {"M(a, )", 1, "f(a)"},
      {"M(f(a, b), c)", 2, "f(f(a, b), c)"},
      {"M()", 0, "f()"},
      {"M( \t\r\n)", 0, "f()"},
      {"M(p[1,2])", 2, "f(p[1, 2])"},
      {"M({a,b})", 2, "f({a, b})"},
      {"M(a,/* c */b)", 2, "f(a, /* c */b)"},
      {"M( /* a *//**/\n x)", 1, "f(x)"},
      {"M(/* never closed", 0, "f()"},
      {"M(/*/ x */ y)", 1, "f(y)"},
      {"M(a, b", 2, "f(a, b)"},
      {"M(a)(b, c)", 1, "f(a)(b, c)"},
      {std::string("M(a, b\0, c)", 12), 2, "f(a, b)"},
  };
  for (const SplitCase& c : cases) {
    glsl::BodyText body(c.text);
    EXPECT_TRUE(body.rewrite_image_macro({"M", "f", c.count, "", "", "", ""})) << c.text;
    EXPECT_EQ(body.text(), c.expected) << c.text;
  }
}

}  // namespace
