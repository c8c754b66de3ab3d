// Formats numbers for the host's macro fields. snprintf writes the current
// locale's decimal point; the host reads GLSL-style numbers, so that point is
// put back to '.' after formatting.
#include "params/number_format.h"

#include <algorithm>
#include <array>
#include <clocale>
#include <cstdio>

namespace params {

std::string with_c_decimal_point(std::string_view text, std::string_view point) {
  std::string result(text);
  if (point.empty() || point == ".") return result;
  std::size_t at = result.find(point);
  if (at != std::string::npos) result.replace(at, point.size(), ".");
  return result;
}

std::string format_g(double value) {
  std::array<char, 4096> buffer;
  int length = std::snprintf(buffer.data(), buffer.size(), "%g", value);
  if (length < 0) return std::string();
  std::string_view text(buffer.data(), std::min<std::size_t>(std::size_t(length), buffer.size() - 1));
  const char* point = std::localeconv()->decimal_point;
  return with_c_decimal_point(text, point ? point : ".");
}

std::string format_d(int value) { return std::to_string(value); }

}  // namespace params
