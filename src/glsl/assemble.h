// The last stage of a conversion: ISF built-ins to the host's uniforms, image
// names to samplers, the prologue inserted into main, and the output text.
#pragma once

#include <map>
#include <string>

namespace glsl {

// The body with `prologue` and "\n" inserted after the opening brace of the
// first definition of main, or unchanged when there is none.
std::string insert_into_main(const std::string& body, const std::string& prologue);

// insert_into_main applied to `body` itself, written through `spare` as the
// other rewrites of the body are.
void insert_into_main_in(std::string& body, const std::string& prologue, std::string& spare);

// Rewrites the body and joins comment block, "\n", define block, "\n",
// uniform block and body into the output text.
std::string rewrite_and_assemble(std::string body, const std::string& comment_block,
                                 const std::string& define_block, std::string uniform_block,
                                 const std::map<std::string, std::string>& image_table);

}  // namespace glsl
