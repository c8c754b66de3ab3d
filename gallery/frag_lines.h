// Places every line of a converted text: in the user's .fs file, or in one of
// the parts that the converter generated (macro comments, defines, uniforms,
// the prologue of main, the empty lines between the blocks).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "convert/convert_source.h"
#include "shader_entry.h"

namespace gallery {

// The text's layout as the converter built it. `body_sources[i]` is the
// 0-based body line that line i of the rewritten body comes from, or
// glsl::kGeneratedLine for a line of the prologue; the entry for the empty
// piece after the body's final line feed may be present.
struct FragLayout {
  std::size_t comment_lines = 0;
  std::size_t define_lines = 0;
  std::size_t body_first_line = 0;  // in the .fs file
  std::vector<std::size_t> body_sources;
};

// One place per line of `frag_text`, line 1 first. A line that joins the end
// of the uniform block and the first body line is placed in the body.
std::vector<SourcePlace> place_lines(const std::string& frag_text, const FragLayout& layout);

// Every line of a conversion's text placed; the conversion was made with
// its line map.
std::vector<SourcePlace> place_frag_lines(const convert::SourceConversion& conversion);

}  // namespace gallery
