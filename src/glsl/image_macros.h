// Rewrites the ISF image-access macros (IMG_SIZE, IMG_THIS_PIXEL,
// IMG_THIS_NORM_PIXEL, IMG_NORM_PIXEL, IMG_PIXEL) into plain GLSL on the
// host's sampler uniforms.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

namespace glsl {

class LineTracker;

struct MacroRewrite {
  std::string_view macro_name;          // e.g. "IMG_PIXEL"
  std::string_view function_name;       // e.g. "texture2D"; empty: no function
  std::size_t argument_count;           // 1 or 2
  std::string_view image_name;          // first argument must equal it; empty: any
  std::string_view first_argument;      // what a matching first argument becomes
  std::string_view second_suffix;       // e.g. "/resolution"
  std::string_view trailing_argument;   // e.g. "gl_TexCoord[0].xy"
};

// Rewrites every qualifying call of one macro; `replaced` tells whether any was.
std::string rewrite_image_macro(std::string_view text, const MacroRewrite& rewrite, bool& replaced);

// rewrite_image_macro applied to `text` itself, rebuilt only when a call
// qualifies, through `spare` as replace_whole_word_in does; returns the
// replaced flag.
bool rewrite_image_macro_in(std::string& text, const MacroRewrite& rewrite, std::string& spare,
                            LineTracker* lines = nullptr);

// Runs the rewrites for every image of `image_table` (name -> sampler) in the
// table's order, appends the "resolution_tex<N>" declarations that IMG_SIZE
// needs to `uniforms`, and returns true when an IMG_PIXEL call was rewritten.
bool run_image_passes(std::string& body, std::string& uniforms,
                      const std::map<std::string, std::string>& image_table);
bool run_image_passes(std::string& body, std::string& uniforms,
                      const std::map<std::string, std::string>& image_table, std::string& spare,
                      LineTracker* lines = nullptr);

}  // namespace glsl
