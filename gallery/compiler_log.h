// The compiler's info log, one message per line, each line number placed in
// the user's file through the converted text's line places.
#pragma once

#include <string>
#include <vector>

#include "shader_entry.h"

namespace gallery {

// Reads Mesa's "0:LINE(COLUMN): error: TEXT" lines, and keeps any other
// non-empty line whole with no line number (a link error, for one).
// `places[i]` is the place of line i + 1 of the text.
std::vector<CompilerMessage> read_compiler_log(const std::string& log,
                                               const std::vector<SourcePlace>& places);

}  // namespace gallery
