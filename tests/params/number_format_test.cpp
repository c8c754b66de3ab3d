// "%g" and "%d" as the host reads them.
#include "params/number_format.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

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

}  // namespace
