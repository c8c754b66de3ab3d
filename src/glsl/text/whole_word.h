// Whole-word search over GLSL text (whole-word replacement is
// BodyText::replace_whole_word). An identifier character is A-Z, a-z, 0-9
// or '_'.
#pragma once

#include <cstddef>
#include <string_view>

namespace glsl {

// True when the first occurrence of `word` in `text` is a whole identifier;
// later occurrences are not looked at. `position` receives the offset of
// that first occurrence, or npos.
bool first_occurrence_is_whole_word(std::string_view text, std::string_view word,
                                    std::size_t& position);

}  // namespace glsl
