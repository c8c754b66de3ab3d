// A bound on how deeply the arrays and objects of an ISF header may nest.
// The JSON library parses any depth, but copying or comparing a parsed value
// recurses once per level, so a hostile header could exhaust the stack.
#pragma once

#include <cstddef>
#include <string_view>

namespace isf {

// Far beyond any real header, which nests three or four levels deep.
constexpr std::size_t max_header_nesting = 512;

// Throws the JSON library's parse error when brackets and braces outside
// strings nest deeper than max_header_nesting. Other faults of the text are
// left to the parser.
void check_header_nesting(std::string_view header_text);

}  // namespace isf
