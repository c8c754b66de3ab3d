// Whole-word search and replacement over GLSL text, and the splitting of a
// call's arguments. An identifier character is A-Z, a-z, 0-9 or '_'.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace glsl {

class LineTracker;

// True when the first occurrence of `word` in `text` is a whole identifier.
// `position` receives the offset of that first occurrence, or npos.
bool find_whole_word(std::string_view text, std::string_view word, std::size_t& position);

// Replaces every whole-identifier occurrence of `old_name` by `new_name`. The
// text ends at its first NUL. `replaced` tells whether anything changed.
std::string replace_whole_word(std::string_view text, std::string_view old_name,
                               std::string_view new_name, bool& replaced);

// replace_whole_word applied to `text` itself, which is rebuilt only when a
// name is replaced: a body of many MB is not copied for each name it lacks.
// The new text is written into `spare`, which then holds the old one, so a
// chain of rewrites reuses two buffers instead of allocating one per step.
// With `lines`, the rewrite is reported to it (see line_map.h).
bool replace_whole_word_in(std::string& text, std::string_view old_name, std::string_view new_name,
                           std::string& spare, LineTracker* lines = nullptr);

// Splits the text that follows a call's "(" into its top-level arguments.
std::vector<std::string> split_call_arguments(std::string_view text);

}  // namespace glsl
