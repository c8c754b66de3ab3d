// Turns the "INPUTS" of an ISF header into the host's parameter macro lines,
// uniform declarations, 2-D point defines and the image table.
#pragma once

#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace params {

// Image input name -> sampler name "tex<N>", ordered by the bytes of the name.
using ImageTable = std::map<std::string, std::string>;

// The per-shader text accumulators that the translation appends to.
struct ShaderBlocks {
  std::string comment;   // credit/description lines, then parameter macro lines
  std::string defines;   // "#define" lines of 2-D points
  std::string uniforms;  // uniform declarations
  ImageTable image_table;
  unsigned image_count = 0;
};

// Appends one parameter per element of `inputs` (an array; anything else
// translates nothing). A JSON type error on an element without a string
// "TYPE" or "NAME" propagates; what was appended before it stays.
void translate_inputs(const nlohmann::json& inputs, ShaderBlocks& blocks);

}  // namespace params
