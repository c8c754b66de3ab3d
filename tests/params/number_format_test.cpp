// "%g" and "%d" as the host reads them.
#include "params/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

TEST(NumberFormatTests, GeneralFormat) {
  struct Case {
    double value;
    const char* text;
  } const cases[] = {
      {0.0, "0"},           {-0.0, "-0"},         {0.5, "0.5"},
      {2.5, "2.5"},         {100000.0, "100000"}, {1000000.0, "1e+06"},
      {123456789.0, "1.23457e+08"},               {0.1234567, "0.123457"},
      {0.0001, "0.0001"},   {0.00001, "1e-05"},   {1e308, "1e+308"},
      {std::numeric_limits<double>::infinity(), "inf"},
      {-std::numeric_limits<double>::infinity(), "-inf"},
  };
  for (const Case& c : cases) EXPECT_EQ(params::format_g(c.value), c.text) << c.text;
  EXPECT_EQ(params::format_d(-2147483647 - 1), "-2147483648");
}

// format_g is written without printf; it must match printf's "%g" on every
// double: the ends of the range, subnormals, NaN, the rounding boundaries of
// six digits and of the switch to exponent form, and random bit patterns.
TEST(NumberFormatTests, GeneralFormatIsPrintfs) {
  using limits = std::numeric_limits<double>;
  std::vector<double> values = {limits::max(),    limits::lowest(),   limits::min(),
                                limits::denorm_min(), std::nan(""),   -std::nan(""),
                                9.999995e-5,      9.9999949e-5,       999999.5,
                                999999.4,         9999995.0,          1.0000005};
  for (double decade = 1e-7; decade < 1e9; decade *= 10) {
    for (double step : {1.0, 1.234565, 9.999995, 9.99999}) values.push_back(step * decade);
  }
  std::mt19937_64 random(17);
  for (int i = 0; i < 100000; ++i) {
    const std::uint64_t bits = random();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    values.push_back(value);
  }
  for (double value : values) {
    for (double near : {std::nextafter(value, -limits::infinity()), value,
                        std::nextafter(value, limits::infinity())}) {
      char expected[64];
      std::snprintf(expected, sizeof expected, "%g", near);
      ASSERT_EQ(params::format_g(near), expected);
    }
  }
}

}  // namespace
