// Formats numbers for the host's macro fields through one bounded buffer.
#include "params/number_format.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace params {

std::string format_g(double value) {
  std::array<char, 4096> buffer;
  int length = std::snprintf(buffer.data(), buffer.size(), "%g", value);
  if (length < 0) return std::string();
  return std::string(buffer.data(), std::min<std::size_t>(std::size_t(length), buffer.size() - 1));
}

std::string format_d(int value) { return std::to_string(value); }

}  // namespace params
