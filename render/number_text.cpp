// Whole-text number parsing over strtod and strtol, with errno for overflow.
#include "number_text.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace render {

bool parse_double(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtod(text.c_str(), &end);
  return errno == 0 && *end == '\0';
}

bool parse_int(const std::string& text, int& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long parsed = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || parsed < INT_MIN || parsed > INT_MAX) return false;
  value = static_cast<int>(parsed);
  return true;
}

bool parse_frame_size(const std::string& text, int& width, int& height) {
  std::size_t x = text.find('x');
  if (x == std::string::npos) return false;
  return parse_int(text.substr(0, x), width) && parse_int(text.substr(x + 1), height) &&
         width >= 1 && height >= 1 && width <= max_frame_side && height <= max_frame_side;
}

}  // namespace render
