// Rewrites the calls of the ISF image macros into texture2D reads and size
// uniforms on the host's samplers. A call that does not qualify is left as
// written but its arguments are still read, so calls nested in it are
// rewritten; the call positions and their splits come from MacroCalls.
#include "glsl/calls/macro_rewrite.h"

#include <cstdint>
#include <limits>

#include "glsl/calls/macro_calls.h"
#include "glsl/text/body_text.h"
#include "glsl/text/chars.h"
#include "glsl/text/line_map.h"

namespace glsl {
namespace {

template <class Offset, class Out>
void write_rewritten(Out& out, std::string_view text, const MacroCalls<Offset>& calls,
                     const MacroRewrite& rewrite) {
  std::size_t copied = 0;  // text before it is in `out`
  for (std::size_t i = 0; i < calls.size(); ++i) {
    // Calls inside a rewritten call went with it.
    if (calls.name_at(i) < copied) continue;
    const MacroCall call = calls.call(i);
    if (!call.first_matches || call.argument_count != rewrite.argument_count) continue;
    put_copy(out, text, copied, call.name_at);
    append_replacement(out, text, call, rewrite);
    copied = call.close < text.size() ? call.close + 1 : text.size();
  }
  put_copy(out, text, copied, text.size());
}

// Rebuilds the body when a call qualifies.
template <class Offset>
bool rewrite_calls(BodyText& body, const MacroRewrite& rewrite) {
  const std::string_view text = body.text();
  const MacroCalls<Offset> calls(text, rewrite.macro_name, rewrite.image_name,
                                 rewrite.argument_count);
  bool qualifies = false;
  for (std::size_t i = 0; i < calls.size() && !qualifies; ++i) {
    const MacroCall call = calls.call(i);
    qualifies = call.first_matches && call.argument_count == rewrite.argument_count;
  }
  if (!qualifies) return false;
  return body.rewrite([&](auto& out) {
    out.reserve(room_for_rewrite(text.size()));
    write_rewritten(out, text, calls, rewrite);
    return true;
  });
}

}  // namespace

bool BodyText::rewrite_image_macro(const MacroRewrite& rewrite) {
  end_at_nul();
  if (text_.size() < std::numeric_limits<std::uint32_t>::max()) {
    return rewrite_calls<std::uint32_t>(*this, rewrite);
  }
  return rewrite_calls<std::uint64_t>(*this, rewrite);
}

}  // namespace glsl
