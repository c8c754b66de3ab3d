// "%g" and "%d" as the host reads them, with '.' as the decimal point in any
// locale.
#include "params/number_format.h"

#include <gtest/gtest.h>

#include <clocale>
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

TEST(NumberFormatTests, LocaleDecimalPointIsReplaced) {
  EXPECT_EQ(params::with_c_decimal_point("0,5", ","), "0.5");
  EXPECT_EQ(params::with_c_decimal_point("-1,23457e+08", ","), "-1.23457e+08");
  EXPECT_EQ(params::with_c_decimal_point("1e+06", ","), "1e+06");
  EXPECT_EQ(params::with_c_decimal_point("0\xD9\xAB" "25", "\xD9\xAB"), "0.25");
  EXPECT_EQ(params::with_c_decimal_point("0.5", "."), "0.5");
  EXPECT_EQ(params::with_c_decimal_point("0.5", ""), "0.5");
}

TEST(NumberFormatTests, CommaLocaleStillWritesAPoint) {
  std::string saved = std::setlocale(LC_NUMERIC, nullptr);
  const char* comma_locale = nullptr;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "de_DE", "German_Germany.1252"}) {
    if (std::setlocale(LC_NUMERIC, name) != nullptr) {
      comma_locale = name;
      break;
    }
  }
  if (comma_locale == nullptr || std::string(std::localeconv()->decimal_point) == ".") {
    std::setlocale(LC_NUMERIC, saved.c_str());
    GTEST_SKIP() << "no locale with a decimal comma is installed";
  }
  std::string half = params::format_g(0.5);
  std::string big = params::format_g(-1234567.0);
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_EQ(half, "0.5") << comma_locale;
  EXPECT_EQ(big, "-1.23457e+06") << comma_locale;
}

}  // namespace
