// Number conversions for parameter fields: every value the JSON library can
// hold converts without undefined behaviour.
#include "params/json_numbers.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace {

using nlohmann::json;

TEST(JsonNumberTests, FloatIntValueTruncatesThenChecksTheRange) {
  struct Case {
    double value;
    int expected;
  } const cases[] = {
      {2.9, 2},
      {-2.9, -2},
      {-0.5, 0},
      {2147483647.9, 2147483647},
      {2147483648.0, INT_MIN},
      {-2147483648.9, INT_MIN},
      {-2147483649.0, INT_MIN},
      {1e300, INT_MIN},
      {-std::numeric_limits<double>::infinity(), INT_MIN},
      {std::numeric_limits<double>::quiet_NaN(), INT_MIN},
      {5e-324, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(params::int_value_of(c.value), c.expected) << c.value;
}

TEST(JsonNumberTests, IntegersKeepTheirLow32Bits) {
  struct Case {
    const char* number;
    int expected;
  } const cases[] = {
      {"7", 7},
      {"-7", -7},
      {"2147483647", 2147483647},
      {"2147483648", INT_MIN},
      {"4294967295", -1},
      {"4294967296", 0},
      {"-4294967297", -1},
      {"18446744073709551615", -1},
      {"9223372036854775807", -1},
      {"-9223372036854775808", 0},
      {"\"3\"", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(params::int_value(json::parse(c.number)), c.expected) << c.number;
}

TEST(JsonNumberTests, SinglePrecisionSaturatesToInfinity) {
  constexpr float inf = std::numeric_limits<float>::infinity();
  EXPECT_EQ(params::single_of(1e39), inf);
  EXPECT_EQ(params::single_of(-1e300), -inf);
  EXPECT_EQ(params::single_of(std::numeric_limits<float>::max()), std::numeric_limits<float>::max());
  EXPECT_EQ(params::single_of(0.5), 0.5f);
  EXPECT_TRUE(std::isnan(params::single_of(std::nan(""))));
}

}  // namespace
