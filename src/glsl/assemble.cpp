// The last stage of a conversion: the body rewritten in a fixed order of
// stages, then the plug-in text as the host reads it: comment block, "\n",
// define block, "\n", uniform block and body, with nothing added between the
// uniform block and the body nor at the end.
#include "glsl/assemble.h"

#include "glsl/builtins.h"
#include "glsl/image_macros.h"
#include "glsl/scan.h"

namespace glsl {
namespace {

// ISF's normalised coordinate is the host's first texture coordinate when
// images come in; without images the prologue computes it from resolution.
void replace_normalised_coordinate(std::string& body) {
  replace_whole_word_in(body, "isf_FragNormCoord.xy", "gl_TexCoord[0].xy");
  replace_whole_word_in(body, "isf_FragNormCoord", "gl_TexCoord[0].xy");
}

// A direct use of an image input's name, such as a sampler passed to
// texture2D, must name the sampler that the uniform block declares.
void rename_images(std::string& body, const std::map<std::string, std::string>& image_table) {
  for (const auto& [name, sampler] : image_table) replace_whole_word_in(body, name, sampler);
}

std::string prologue_for(const std::string& body, bool no_images) {
  std::string prologue;
  std::size_t position = 0;
  // The rectangle is always that of the first image, whatever the shader names it.
  if (find_whole_word(body, "_inputImage_imgRect", position)) {
    prologue += "vec4 _inputImage_imgRect = vec4(0.0, 0.0, resolution_tex0.x, resolution_tex0.y);\n";
  }
  if (no_images) prologue += "vec2 isf_FragNormCoord = gl_FragCoord.xy / resolution.xy;\n";
  return prologue;
}

}  // namespace

std::string rewrite_and_assemble(std::string body, const std::string& comment_block,
                                 const std::string& define_block, std::string uniform_block,
                                 const std::map<std::string, std::string>& image_table) {
  const bool no_images = image_table.empty();
  if (!no_images) replace_normalised_coordinate(body);
  const bool render_size_needed = run_image_passes(body, uniform_block, image_table);
  replace_builtins(body, uniform_block, no_images, render_size_needed);
  rename_images(body, image_table);
  const std::string prologue = prologue_for(body, no_images);
  if (!prologue.empty()) body = insert_into_main(body, prologue);

  std::string text;
  text.reserve(comment_block.size() + define_block.size() + uniform_block.size() + body.size() + 2);
  text += comment_block;
  text += '\n';
  text += define_block;
  text += '\n';
  text += uniform_block;
  text += body;
  return text;
}

}  // namespace glsl
