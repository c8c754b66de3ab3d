// The rewriting rules of the body that are tables, each row with its effects
// as columns: the image-pass rows, run in this order for every image, and
// the built-ins, replaced and declared in this order.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace glsl {

// Both current-pixel reads become the same read: the host's texture
// coordinate is already normalised. IMG_PIXEL's pixel coordinate is divided
// by the render size, not by the image's own size.
struct ImageRow {
  std::string_view macro_name;
  std::string_view function_name;  // empty: the call becomes its arguments
  std::size_t argument_count;
  bool first_becomes_size;         // the image's size uniform; otherwise its sampler
  std::string_view second_suffix;
  std::string_view trailing_argument;
  bool declares_size;              // a rewrite declares "uniform vec2 resolution_tex<N>;"
  bool needs_render_size;          // a rewrite needs the render-size uniform
};

inline constexpr std::string_view kThisPixel = "gl_TexCoord[0].xy";

inline constexpr std::array<ImageRow, 5> kImageRows = {{
    {"IMG_SIZE", "", 1, true, "", "", true, false},
    {"IMG_THIS_PIXEL", "texture2D", 1, false, "", kThisPixel, false, false},
    {"IMG_THIS_NORM_PIXEL", "texture2D", 1, false, "", kThisPixel, false, false},
    {"IMG_NORM_PIXEL", "texture2D", 2, false, "", "", false, false},
    {"IMG_PIXEL", "texture2D", 2, false, "/resolution", "", false, true},
}};

// A declaration is appended when its built-in was replaced; the render
// size's also whenever the shader needs it anyway (no images: the prologue
// divides by it; IMG_PIXEL reads divide by it).
struct Builtin {
  std::string_view isf_name;
  std::string_view host_name;
  std::string_view declaration;
  bool declared_for_render_size;
};

inline constexpr std::array<Builtin, 5> kBuiltins = {{
    {"RENDERSIZE", "resolution", "uniform vec2 resolution;\n", true},
    {"TIME", "time", "uniform float time;\n", false},
    {"TIMEDELTA", "time_delta", "uniform float time_delta;\n", false},
    {"DATE", "iDate", "uniform vec4 iDate;\n", false},
    {"FRAMEINDEX", "iFrame", "uniform int iFrame;\n", false},
}};

}  // namespace glsl
