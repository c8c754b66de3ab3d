// Turns the "INPUTS" of an ISF header into the host's parameter macro lines,
// uniform declarations, 2-D point defines and the image table.
#pragma once

#include <map>
#include <set>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

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
  // Filled before the translation: the point inputs whose name the body
  // declares itself (a parameter, a local). A define would rewrite those
  // declarations, so such a point is a global set at the start of main.
  std::set<std::string> declared_in_body;
  std::string point_lines;          // the statements that set those points
  std::vector<std::string> events;  // EVENT input names, in input order
};

// Appends one parameter per element of `inputs` (an array; anything else
// translates nothing). A JSON type error on an element without a string
// "TYPE" or "NAME" propagates; what was appended before it stays.
void translate_inputs(const nlohmann::json& inputs, ShaderBlocks& blocks);

}  // namespace params
