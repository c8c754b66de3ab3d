// The last stage of a conversion: the body rewritten (image macros, ISF
// built-ins to the host's uniforms, image names to samplers, the prologue
// inserted into main), then the output text assembled.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "glsl/text/line_map.h"

namespace glsl {

// What the inputs ask of the body besides the image table.
struct InputRewrites {
  std::vector<std::string> events;  // EVENT input names, in input order
  std::string point_lines;          // prologue statements that set redeclared points
};

// The body rewritten: the legacy coordinate name, events used as
// conditions, normalised coordinate, image passes, built-ins, image
// names, prologue in main. Declarations are appended to `uniform_block`.
// With `line_map`, it also receives one entry per line of the result: the
// 0-based line of `body` that the line's first character comes from (for
// text made in place of a macro call or a name, the line where it starts),
// or kGeneratedLine for a prologue line (see text/line_map.h).
std::string rewrite_body(std::string body, std::string& uniform_block,
                         const std::map<std::string, std::string>& image_table,
                         std::vector<std::size_t>* line_map = nullptr,
                         const InputRewrites& inputs = {});

// The output text: comment block, "\n", define block, "\n", uniform block
// and body, with nothing added between the uniform block and the body.
std::string assemble(const std::string& comment_block, const std::string& define_block,
                     const std::string& uniform_block, std::string body);

}  // namespace glsl
