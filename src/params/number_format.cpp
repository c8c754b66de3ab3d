// Formats numbers for the host's macro fields. std::to_chars with the general
// format and a precision writes what printf writes for "%.<precision>g" in the
// C locale, without printf's stream and locale machinery. Only a NaN differs
// between C libraries (a negative one is "-nan" in glibc, "nan" in MinGW's),
// so a NaN is left to printf, as it always was.
#include "params/number_format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace params {

std::string format_g(double value) {
  if (std::isnan(value)) {
    char text[16];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
  }
  // The longest "%g" text: "-1.23457e-308", or a NaN with its sign.
  std::array<char, 32> buffer;
  const std::to_chars_result written = std::to_chars(
      buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::general, 6);
  if (written.ec != std::errc()) return std::string();
  return std::string(buffer.data(), written.ptr);
}

std::string format_d(int value) { return std::to_string(value); }

}  // namespace params
