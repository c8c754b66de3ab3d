// The AARRGGBB code of a colour default: clamping, truncation and byte order.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "params/color_code.h"

namespace {

TEST(ColorCodeTests, ClampsTruncatesAndPutsAlphaFirst) {
  constexpr float inf = std::numeric_limits<float>::infinity();
  struct Case {
    float red, green, blue, alpha;
    const char* code;
  } const cases[] = {
      {1.0f, 0.5f, 0.0f, 1.0f, "FFFF7F00"},
      {2.0f, -1.0f, 0.5f, 0.5f, "7FFF007F"},
      {0.2f, 0.4f, 0.6f, 0.8f, "CC336699"},
      {0.0f, 0.0f, 0.0f, 0.0f, "00000000"},
      {0.0f, 0.0f, 1.0f, 0.0f, "000000FF"},
      {0.999f, 0.004f, 0.00392f, 1.0f, "FFFE0100"},
      {inf, -inf, 1e-45f, -0.0f, "00FF0000"},
      {std::nanf(""), 1.0f, 1.0f, std::nanf(""), "0000FFFF"},  // NaN counts as 0
  };
  for (const Case& c : cases) {
    EXPECT_EQ(params::color_code(c.red, c.green, c.blue, c.alpha), c.code) << c.code;
  }
}

}  // namespace
