// The compiler's info log, one message per line, each line number placed in
// the user's file through the converted text's line places.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "shader_entry.h"

namespace gallery {

// Reads Mesa's "0:LINE(COLUMN): error: TEXT" lines, and keeps any other
// non-empty line whole with no line number (a link error, for one).
// `places[i]` is the place of line i + 1 of `frag_text` counted by line
// feeds; each LINE is found as the compiler counts lines (see
// compiler_lines.h) and placed in `fs_text` the same way.
std::vector<CompilerMessage> read_compiler_log(const std::string& log,
                                               const std::vector<SourcePlace>& places,
                                               std::string_view frag_text,
                                               std::string_view fs_text);

}  // namespace gallery
