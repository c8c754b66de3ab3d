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

// Whole when neither neighbour of text[at, at + length) continues the
// identifier.
inline bool is_whole_word_at(std::string_view text, std::size_t at, std::size_t length) {
  const bool starts = at == 0 || !is_identifier_char(text[at - 1]);
  const bool ends = at + length == text.size() || !is_identifier_char(text[at + length]);
  return starts && ends;
}

// The replacing and splitting operations read their text the way C strings
// are read: it ends at the first NUL.
inline std::string_view up_to_nul(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

// From `at`, past white space, up to `end`.
inline std::size_t skip_white_space(std::string_view text, std::size_t at, std::size_t end) {
  while (at < end && is_white_space(text[at])) ++at;
  return at;
}

}  // namespace glsl
