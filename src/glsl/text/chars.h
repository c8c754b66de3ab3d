// Character classes of the GLSL scanning: what may continue an identifier,
// what may start a name, and the white space of the C locale.
#pragma once

#include <cstddef>
#include <string_view>

namespace glsl {

inline bool is_identifier_char(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

inline bool is_name_start_char(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

inline bool is_white_space(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// The replacing and splitting operations read their text the way C strings
// are read: it ends at the first NUL.
inline std::string_view up_to_nul(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

// The last character before `end` that is not white space, or npos.
inline std::size_t last_non_blank_before(std::string_view text, std::size_t end) {
  while (end > 0 && is_white_space(text[end - 1])) --end;
  return end == 0 ? std::string_view::npos : end - 1;
}

// From `at`, skips white space and /* */ comments, as often as they follow one
// another; an unclosed comment runs to the end of `text`.
inline std::size_t skip_blanks_and_comments(std::string_view text, std::size_t at) {
  const std::size_t n = text.size();
  while (at < n) {
    if (is_white_space(text[at])) {
      ++at;
    } else if (text[at] == '/' && at + 1 < n && text[at + 1] == '*') {
      const std::size_t close = text.find("*/", at + 2);
      at = close == std::string_view::npos ? n : close + 2;
    } else {
      break;
    }
  }
  return at;
}

}  // namespace glsl
