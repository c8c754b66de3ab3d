// The last stage of a conversion: the body rewritten in a fixed order of
// stages, then the plug-in text as the host reads it: comment block, "\n",
// define block, "\n", uniform block and body, with nothing added between the
// uniform block and the body nor at the end.
#include "glsl/assemble.h"

#include <utility>

#include "glsl/rules/outside_main.h"
#include "glsl/rules/rule_tables.h"
#include "glsl/text/body_text.h"
#include "glsl/text/whole_word.h"

namespace glsl {
namespace {

// ISF's normalised coordinate is the host's first texture coordinate when
// images come in; without images the prologue computes it from resolution.
void replace_normalised_coordinate(BodyText& body) {
  for (std::string_view name : kNormalisedCoordinate) {
    body.replace_whole_word(name, kHost.texture_coordinate);
  }
}

// The rectangle is always that of the first image, whatever the shader names
// it. Its size uniform is declared here when no IMG_SIZE call declared it, so
// that the prologue never reads an undeclared name. Without images the
// normalised coordinate is a local of main, or a global set there when the
// body reads it outside main too (in ISF it is visible everywhere).
std::string prologue_for(const std::string& body, bool no_images, std::string& uniform_block,
                         const std::string& point_lines) {
  std::string prologue;
  std::size_t position = 0;
  if (first_occurrence_is_whole_word(body, kPrologue.image_rect_name, position)) {
    prologue += kPrologue.image_rect_line;
    if (uniform_block.find(kPrologue.image_rect_size) == std::string::npos) {
      uniform_block += kPrologue.image_rect_size;
    }
  }
  if (no_images) {
    if (used_outside_main(body, kPrologue.coordinate_name)) {
      uniform_block += kPrologue.coordinate_global;
    } else {
      prologue += kPrologue.coordinate_local_type;
    }
    prologue += kPrologue.coordinate_assignment;
  }
  return prologue + point_lines;
}

}  // namespace

std::string rewrite_body(std::string body, std::string& uniform_block,
                         const std::map<std::string, std::string>& image_table,
                         std::vector<std::size_t>* line_map, const InputRewrites& inputs) {
  BodyText text(std::move(body), line_map != nullptr);
  // Older ISF files name the normalised coordinate by its legacy name.
  text.replace_whole_word("vv_FragNormCoord", "isf_FragNormCoord");
  text.test_events(inputs.events);
  const bool no_images = image_table.empty();
  if (!no_images) replace_normalised_coordinate(text);
  const bool pixel_reads = text.run_image_passes(uniform_block, image_table);
  // Without images the prologue computes isf_FragNormCoord from the render
  // size, and IMG_PIXEL reads divide by it.
  text.replace_builtins(uniform_block, no_images || pixel_reads);
  text.rename_images(image_table);
  const std::string prologue = prologue_for(text.text(), no_images, uniform_block, inputs.point_lines);
  if (!prologue.empty()) text.insert_into_main(prologue);
  if (line_map != nullptr) *line_map = text.line_map();
  return text.take();
}

std::string assemble(const std::string& comment_block, const std::string& define_block,
                     const std::string& uniform_block, std::string body) {
  std::string text;
  text.reserve(comment_block.size() + define_block.size() + uniform_block.size() + 2 + body.size());
  text += comment_block;
  text += '\n';
  text += define_block;
  text += '\n';
  text += uniform_block;
  text += body;
  return text;
}

}  // namespace glsl
