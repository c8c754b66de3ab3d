// Whole-word search over GLSL text and the splitting of a call's arguments
// (whole-word replacement is BodyText::replace_whole_word). An identifier
// character is A-Z, a-z, 0-9 or '_'.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace glsl {

// True when the first occurrence of `word` in `text` is a whole identifier.
// `position` receives the offset of that first occurrence, or npos.
bool find_whole_word(std::string_view text, std::string_view word, std::size_t& position);

// Splits the text that follows a call's "(" into its top-level arguments.
std::vector<std::string> split_call_arguments(std::string_view text);

}  // namespace glsl
