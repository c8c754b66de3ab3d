// Rewrites the calls of the ISF image macros into texture2D reads and size
// uniforms on the host's samplers. A call that does not qualify is left as
// written but its arguments are still read, so calls nested in it are
// rewritten; the call positions and their splits come from MacroCalls.
#include "glsl/image_macros.h"

#include <cstdint>
#include <limits>

#include "glsl/chars.h"
#include "glsl/line_map.h"
#include "glsl/macro_calls.h"
#include "glsl/output_length.h"

namespace glsl {
namespace {

// Text made in place of the call counts as coming from where the call
// starts; the arguments keep their own places.
template <class Out>
void append_replacement(Out& out, std::string_view text, const MacroCall& call,
                        const MacroRewrite& rewrite) {
  const auto made = [&](std::string_view piece) { put_made_for(out, piece, call.name_at); };
  const bool with_function = !rewrite.function_name.empty();
  if (with_function) {
    made(rewrite.function_name);
    made("(");
  }
  if (rewrite.image_name.empty()) {
    put_copy(out, text, call.first_begin, call.first_end);
  } else {
    made(rewrite.first_argument);
  }
  if (rewrite.argument_count == 2) {
    std::size_t begin = call.first_comma + 1;
    while (begin < call.second_end && is_white_space(text[begin])) ++begin;
    if (with_function && !rewrite.second_suffix.empty()) {
      made(", (");
      put_copy(out, text, begin, call.second_end);
      made(")");
      made(rewrite.second_suffix);
    } else {
      made(", ");
      put_copy(out, text, begin, call.second_end);
    }
  }
  if (!rewrite.trailing_argument.empty()) {
    made(", ");
    made(rewrite.trailing_argument);
  }
  if (with_function) made(")");
}

template <class Offset, class Out>
void write_rewritten(Out& out, std::string_view text, const MacroCalls<Offset>& calls,
                     const MacroRewrite& rewrite, bool& replaced) {
  std::size_t copied = 0;  // text before it is in `out`
  for (std::size_t i = 0; i < calls.size(); ++i) {
    // Calls inside a rewritten call went with it.
    if (calls.name_at(i) < copied) continue;
    const MacroCall call = calls.call(i);
    if (!call.first_matches || call.argument_count != rewrite.argument_count) continue;
    put_copy(out, text, copied, call.name_at);
    append_replacement(out, text, call, rewrite);
    replaced = true;
    copied = call.close < text.size() ? call.close + 1 : text.size();
  }
  put_copy(out, text, copied, text.size());
}

// Rebuilds `text` when a call qualifies; the first walk only measures.
template <class Offset>
bool rewrite_calls(std::string& text, const MacroRewrite& rewrite, std::string& spare,
                   LineTracker* lines) {
  const MacroCalls<Offset> calls(text, rewrite.macro_name, rewrite.image_name,
                                 rewrite.argument_count);
  bool replaced = false;
  OutputLength length;
  write_rewritten(length, text, calls, rewrite, replaced);
  if (!replaced) return false;
  spare.clear();
  spare.reserve(length.size + kBodySlack);
  if (lines == nullptr) {
    write_rewritten(spare, text, calls, rewrite, replaced);
  } else {
    TrackedOutput out{spare, *lines};
    write_rewritten(out, text, calls, rewrite, replaced);
    lines->commit();
  }
  text.swap(spare);
  return true;
}

}  // namespace

bool rewrite_image_macro_in(std::string& text, const MacroRewrite& rewrite, std::string& spare,
                            LineTracker* lines) {
  text.resize(up_to_nul(text).size());
  if (text.size() < std::numeric_limits<std::uint32_t>::max()) {
    return rewrite_calls<std::uint32_t>(text, rewrite, spare, lines);
  }
  return rewrite_calls<std::uint64_t>(text, rewrite, spare, lines);
}

std::string rewrite_image_macro(std::string_view text, const MacroRewrite& rewrite, bool& replaced) {
  std::string result(up_to_nul(text));
  std::string spare;
  replaced = rewrite_image_macro_in(result, rewrite, spare);
  return result;
}

bool run_image_passes(std::string& body, std::string& uniforms,
                      const std::map<std::string, std::string>& image_table) {
  std::string spare;
  return run_image_passes(body, uniforms, image_table, spare);
}

bool run_image_passes(std::string& body, std::string& uniforms,
                      const std::map<std::string, std::string>& image_table, std::string& spare,
                      LineTracker* lines) {
  constexpr std::string_view kThisPixel = "gl_TexCoord[0].xy";
  bool render_size_needed = false;
  for (const auto& [name, sampler] : image_table) {
    const std::string size_uniform = "resolution_" + sampler;
    // Each row rewrites the whole body left by the row before it. Both
    // current-pixel reads become the same read: the host's texture
    // coordinate is already normalised. IMG_PIXEL's pixel coordinate is
    // divided by the render size, not by the image's own size.
    const MacroRewrite rows[] = {
        {"IMG_SIZE", "", 1, name, size_uniform, "", ""},
        {"IMG_THIS_PIXEL", "texture2D", 1, name, sampler, "", kThisPixel},
        {"IMG_THIS_NORM_PIXEL", "texture2D", 1, name, sampler, "", kThisPixel},
        {"IMG_NORM_PIXEL", "texture2D", 2, name, sampler, "", ""},
        {"IMG_PIXEL", "texture2D", 2, name, sampler, "/resolution", ""},
    };
    for (const MacroRewrite& row : rows) {
      if (!rewrite_image_macro_in(body, row, spare, lines)) continue;
      if (row.macro_name == "IMG_SIZE") uniforms += "uniform vec2 " + size_uniform + ";\n";
      if (row.macro_name == "IMG_PIXEL") render_size_needed = true;
    }
  }
  return render_size_needed;
}

}  // namespace glsl
