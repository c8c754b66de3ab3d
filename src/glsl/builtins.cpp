// The built-in table: each ISF built-in becomes the host uniform of the same
// meaning, declared once, right after its replacement, in table order.
#include "glsl/builtins.h"

#include <string_view>

#include "glsl/scan.h"

namespace glsl {
namespace {

struct Builtin {
  std::string_view isf_name;
  std::string_view host_name;
  std::string_view declaration;
};

// TIME comes before TIMEDELTA; whole-word matching keeps them apart anyway.
constexpr Builtin kBuiltins[] = {
    {"RENDERSIZE", "resolution", "uniform vec2 resolution;\n"},
    {"TIME", "time", "uniform float time;\n"},
    {"TIMEDELTA", "time_delta", "uniform float time_delta;\n"},
    {"DATE", "iDate", "uniform vec4 iDate;\n"},
    {"FRAMEINDEX", "iFrame", "uniform int iFrame;\n"},
};

}  // namespace

void replace_builtins(std::string& body, std::string& uniforms, bool no_images,
                      bool render_size_needed, std::string& spare) {
  for (const Builtin& builtin : kBuiltins) {
    const bool replaced = replace_whole_word_in(body, builtin.isf_name, builtin.host_name, spare);
    // Without images the prologue computes isf_FragNormCoord from resolution.
    const bool resolution_anyway =
        builtin.host_name == "resolution" && (no_images || render_size_needed);
    if (replaced || resolution_anyway) uniforms += builtin.declaration;
  }
}

}  // namespace glsl
