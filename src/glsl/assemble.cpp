// The last stage of a conversion: the body rewritten in a fixed order of
// stages, then the plug-in text as the host reads it: comment block, "\n",
// define block, "\n", uniform block and body, with nothing added between the
// uniform block and the body nor at the end.
#include "glsl/assemble.h"

#include <optional>
#include <utility>

#include "glsl/builtins.h"
#include "glsl/image_names.h"
#include "glsl/image_passes.h"
#include "glsl/line_map.h"
#include "glsl/scan.h"

namespace glsl {
namespace {

// ISF's normalised coordinate is the host's first texture coordinate when
// images come in; without images the prologue computes it from resolution.
void replace_normalised_coordinate(std::string& body, std::string& spare, LineTracker* lines) {
  replace_whole_word_in(body, "isf_FragNormCoord.xy", "gl_TexCoord[0].xy", spare, lines);
  replace_whole_word_in(body, "isf_FragNormCoord", "gl_TexCoord[0].xy", spare, lines);
}

constexpr std::string_view first_image_size = "uniform vec2 resolution_tex0;\n";

// The rectangle is always that of the first image, whatever the shader names
// it. Its size uniform is declared here when no IMG_SIZE call declared it, so
// that the prologue never reads an undeclared name.
std::string prologue_for(const std::string& body, bool no_images, std::string& uniform_block) {
  std::string prologue;
  std::size_t position = 0;
  if (find_whole_word(body, "_inputImage_imgRect", position)) {
    prologue += "vec4 _inputImage_imgRect = vec4(0.0, 0.0, resolution_tex0.x, resolution_tex0.y);\n";
    if (uniform_block.find(first_image_size) == std::string::npos) uniform_block += first_image_size;
  }
  if (no_images) prologue += "vec2 isf_FragNormCoord = gl_FragCoord.xy / resolution.xy;\n";
  return prologue;
}

}  // namespace

std::string rewrite_body(std::string body, std::string& uniform_block,
                         const std::map<std::string, std::string>& image_table,
                         std::vector<std::size_t>* line_map) {
  std::optional<LineTracker> tracker;
  if (line_map != nullptr) tracker.emplace(body);
  LineTracker* lines = tracker ? &*tracker : nullptr;
  const bool no_images = image_table.empty();
  // Every rewrite writes into `spare` and swaps: two buffers for the body.
  std::string spare;
  if (!no_images) replace_normalised_coordinate(body, spare, lines);
  const bool render_size_needed = run_image_passes(body, uniform_block, image_table, spare, lines);
  replace_builtins(body, uniform_block, no_images, render_size_needed, spare, lines);
  rename_images(body, image_table, spare, lines);
  const std::string prologue = prologue_for(body, no_images, uniform_block);
  if (!prologue.empty()) insert_into_main_in(body, prologue, spare, lines);
  if (lines != nullptr) *line_map = lines->lines_of(body);
  return body;
}

std::string assemble(const std::string& comment_block, const std::string& define_block,
                     const std::string& uniform_block, std::string body) {
  std::string blocks;
  blocks.reserve(comment_block.size() + define_block.size() + uniform_block.size() + 2);
  blocks += comment_block;
  blocks += '\n';
  blocks += define_block;
  blocks += '\n';
  blocks += uniform_block;
  // A rebuilt body keeps room for the blocks in front of it; otherwise the
  // output gets a buffer of its own.
  if (body.capacity() >= blocks.size() + body.size()) {
    body.insert(0, blocks);
    return body;
  }
  std::string text;
  text.reserve(blocks.size() + body.size());
  text += blocks;
  text += body;
  return text;
}

std::string rewrite_and_assemble(std::string body, const std::string& comment_block,
                                 const std::string& define_block, std::string uniform_block,
                                 const std::map<std::string, std::string>& image_table) {
  body = rewrite_body(std::move(body), uniform_block, image_table);
  return assemble(comment_block, define_block, uniform_block, std::move(body));
}

}  // namespace glsl
