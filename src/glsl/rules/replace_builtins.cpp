// The built-in table: each ISF built-in becomes the host uniform of the same
// meaning, declared once, in table order, when it is used.
//
// The five names and their replacements are all identifiers, so replacing
// them one after the other, each as a whole word, gives the same text as
// replacing every identifier equal to one of them in a single reading; that
// reading is what is done here.
//
// Example: in "TIMEDELTA*TIME + myTIME" the words TIMEDELTA and TIME are
// rows of the table and become "time_delta*time"; the "TIME" of myTIME
// continues a word and is passed over.
#include "glsl/text/body_text.h"

#include <array>
#include <string_view>

#include "glsl/rules/rule_tables.h"
#include "glsl/text/chars.h"
#include "glsl/text/line_map.h"

namespace glsl {
namespace {

// The first letters of the five names.
struct Starts {
  bool table[256] = {};
  constexpr Starts() {
    for (const Builtin& builtin : kBuiltins) table[static_cast<unsigned char>(builtin.isf_name[0])] = true;
  }
};
constexpr Starts kStarts;

// Writes the body with every built-in replaced and marks the rows used.
template <class Out>
void write_replaced(Out& out, std::string_view body, std::array<bool, kBuiltins.size()>& used) {
  const std::size_t n = body.size();
  std::size_t copied = 0;
  for (std::size_t at = 0; at < n;) {
    while (at < n && !kStarts.table[static_cast<unsigned char>(body[at])]) ++at;
    if (at == n) break;
    if (at > 0 && is_identifier_char(body[at - 1])) {
      ++at;
      continue;
    }
    std::size_t end = at;
    while (end < n && is_identifier_char(body[end])) ++end;
    const std::string_view word = body.substr(at, end - at);
    for (std::size_t row = 0; row < kBuiltins.size(); ++row) {
      if (word != kBuiltins[row].isf_name) continue;
      put_copy(out, body, copied, at);
      put_made_for(out, kBuiltins[row].host_name, at);
      copied = end;
      used[row] = true;
    }
    at = end;
  }
  put_copy(out, body, copied, body.size());
}

}  // namespace

void BodyText::replace_builtins(std::string& uniforms, bool render_size_needed) {
  end_at_nul();
  const std::string_view body = text_;
  std::array<bool, kBuiltins.size()> used{};
  rewrite([&](auto& out) {
    out.reserve(room_for_rewrite(body.size()));
    write_replaced(out, body, used);
    return used != std::array<bool, kBuiltins.size()>{};
  });
  for (std::size_t row = 0; row < kBuiltins.size(); ++row) {
    const Builtin& builtin = kBuiltins[row];
    if (used[row] || (builtin.declared_for_render_size && render_size_needed)) {
      uniforms += builtin.declaration;
    }
  }
}

}  // namespace glsl
