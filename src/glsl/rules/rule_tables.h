// The rewriting rules of the body that are tables, each row with its effects
// as named columns, and the host's names they write: the image-pass rows,
// run in this order for every image, and the built-ins, replaced and
// declared in this order.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace glsl {

// The host's names that the rules write and the renderer binds.
struct HostNames {
  std::string_view sampler_prefix;      // image input N (in input order) is the sampler "tex<N>"
  std::string_view size_prefix;         // its size uniform is this + the sampler
  std::string_view texture_coordinate;  // the current pixel's normalised coordinate
};

inline constexpr HostNames kHost = {
    /*sampler_prefix=*/"tex",
    /*size_prefix=*/"resolution_",
    /*texture_coordinate=*/"gl_TexCoord[0].xy",
};

// ISF's normalised coordinate: with images it becomes the host's texture
// coordinate (the swizzled form first, so that ".xy" is not kept twice);
// without images the prologue computes it.
inline constexpr std::array<std::string_view, 2> kNormalisedCoordinate = {{
    "isf_FragNormCoord.xy",
    "isf_FragNormCoord",
}};

// The lines put at the start of main, each when its condition holds.
struct PrologueRules {
  std::string_view image_rect_name;  // when the body holds this name as a whole word,
  std::string_view image_rect_line;  // this line defines it from the first image's size,
  std::string_view image_rect_size;  // declared unless an IMG_SIZE call declared it
  // Without images ISF's normalised coordinate is computed at the start of
  // main: a local there, or a global declared in the uniform block when the
  // body reads it outside main too.
  std::string_view coordinate_name;
  std::string_view coordinate_local_type;  // before the assignment, for a local
  std::string_view coordinate_global;      // the uniform block's line, for a global
  std::string_view coordinate_assignment;
};

inline constexpr PrologueRules kPrologue = {
    /*image_rect_name=*/"_inputImage_imgRect",
    /*image_rect_line=*/"vec4 _inputImage_imgRect = vec4(0.0, 0.0, resolution_tex0.x, resolution_tex0.y);\n",
    /*image_rect_size=*/"uniform vec2 resolution_tex0;\n",
    /*coordinate_name=*/"isf_FragNormCoord",
    /*coordinate_local_type=*/"vec2 ",
    /*coordinate_global=*/"vec2 isf_FragNormCoord;\n",
    /*coordinate_assignment=*/"isf_FragNormCoord = gl_FragCoord.xy / resolution.xy;\n",
};

// One image-access macro and what its qualifying call becomes, for the
// sampler of the image that its first argument names; built with the
// named steps below, so that each row reads as a sentence.
struct ImageRow {
  std::string_view macro_name;
  std::size_t argument_count = 0;
  std::string_view function_name;      // empty: the call becomes its arguments
  bool first_becomes_size = false;     // the image's size uniform; otherwise its sampler
  std::string_view second_suffix;      // after the second argument, which gets parentheses
  std::string_view trailing_argument;  // added after the call's own arguments
  bool declares_size = false;          // a rewrite declares "uniform vec2 resolution_tex<N>;"
  bool needs_render_size = false;      // a rewrite needs the render-size uniform

  // A copy with one field set (defined before the steps that use it, as
  // clang wants for a constant expression).
  template <class Field>
  constexpr ImageRow with(Field ImageRow::*field, Field value) const {
    ImageRow row = *this;
    row.*field = value;
    return row;
  }

  // The call becomes a call of `function` on the sampler.
  constexpr ImageRow reading_with(std::string_view function) const {
    return with(&ImageRow::function_name, function);
  }
  // The first argument becomes the image's size uniform, which is declared.
  constexpr ImageRow becoming_size() const {
    return with(&ImageRow::first_becomes_size, true).with(&ImageRow::declares_size, true);
  }
  constexpr ImageRow adding_argument(std::string_view argument) const {
    return with(&ImageRow::trailing_argument, argument);
  }
  // The second argument, in parentheses, divided by the render size.
  constexpr ImageRow dividing_second_by_render_size() const {
    return with(&ImageRow::second_suffix, std::string_view("/resolution"))
        .with(&ImageRow::needs_render_size, true);
  }
};

// A call of `macro_name` with `argument_count` arguments.
constexpr ImageRow image_row(std::string_view macro_name, std::size_t argument_count) {
  ImageRow row{};
  row.macro_name = macro_name;
  row.argument_count = argument_count;
  return row;
}

// Both current-pixel reads become the same read: the host's texture
// coordinate is already normalised. IMG_PIXEL's pixel coordinate is divided
// by the render size, not by the image's own size.
inline constexpr std::array<ImageRow, 5> kImageRows = {{
    image_row("IMG_SIZE", 1).becoming_size(),
    image_row("IMG_THIS_PIXEL", 1).reading_with("texture2D").adding_argument(kHost.texture_coordinate),
    image_row("IMG_THIS_NORM_PIXEL", 1).reading_with("texture2D").adding_argument(kHost.texture_coordinate),
    image_row("IMG_NORM_PIXEL", 2).reading_with("texture2D"),
    image_row("IMG_PIXEL", 2).reading_with("texture2D").dividing_second_by_render_size(),
}};

// A declaration is appended when its built-in was replaced; the render
// size's also whenever the shader needs it anyway (no images: the prologue
// divides by it; IMG_PIXEL reads divide by it).
struct Builtin {
  std::string_view isf_name;
  std::string_view host_name;        // the host's uniform
  std::string_view declaration;      // appended to the uniform block
  bool declared_for_render_size;     // also declared whenever the render size is needed
};

inline constexpr std::array<Builtin, 5> kBuiltins = {{
    {"RENDERSIZE", "resolution", "uniform vec2 resolution;\n", true},
    {"TIME", "time", "uniform float time;\n", false},
    {"TIMEDELTA", "time_delta", "uniform float time_delta;\n", false},
    {"DATE", "iDate", "uniform vec4 iDate;\n", false},
    {"FRAMEINDEX", "iFrame", "uniform int iFrame;\n", false},
}};

// The host's uniform for the ISF built-in `isf_name` ("TIME" -> "time").
constexpr std::string_view host_uniform_of(std::string_view isf_name) {
  for (const Builtin& builtin : kBuiltins) {
    if (builtin.isf_name == isf_name) return builtin.host_name;
  }
  return {};
}

}  // namespace glsl
