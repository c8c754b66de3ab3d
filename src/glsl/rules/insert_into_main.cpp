// Puts the prologue at the start of the shader's main: after the "{" of the
// first definition, and after the line break that ends that line, if any, so
// the brace keeps its line and code after it on the same line follows the
// prologue.
#include "glsl/rules/insert_into_main.h"

#include <string_view>

#include "glsl/text/body_text.h"
#include "glsl/text/chars.h"
#include "glsl/text/line_map.h"

namespace glsl {
namespace {

constexpr std::size_t kNotDefinition = std::string_view::npos;

// Reads a definition head after a "main": "()" or "(void)", blanks allowed
// anywhere, then "{". Gives where the prologue goes, or kNotDefinition.
std::size_t insertion_point(std::string_view body, std::size_t at) {
  at = skip_white_space(body, at, body.size());
  const bool parenthesis = at < body.size() && body[at] == '(';
  if (parenthesis) at = skip_white_space(body, at + 1, body.size());
  if (body.substr(at, 4) == "void") at = skip_white_space(body, at + 4, body.size());
  if (!parenthesis || at >= body.size() || body[at] != ')') return kNotDefinition;
  at = skip_white_space(body, at + 1, body.size());
  if (at >= body.size() || body[at] != '{') return kNotDefinition;
  ++at;
  while (at < body.size() && (body[at] == ' ' || body[at] == '\t' || body[at] == '\v' ||
                              body[at] == '\f')) {
    ++at;
  }
  if (at < body.size() && body[at] == '\r') ++at;
  if (at < body.size() && body[at] == '\n') ++at;
  return at;
}

}  // namespace

std::size_t main_body_start(std::string_view body) {
  // The search reads the body up to its first NUL; each "main" is judged by
  // its neighbours in the body, and one that is part of a longer identifier
  // (domain, mainImage) or is not a definition (a prototype, a comment) only
  // moves the search on.
  const std::string_view text = up_to_nul(body);
  for (std::size_t at = text.find("main"); at != std::string_view::npos;
       at = text.find("main", at + 4)) {
    if (!is_whole_word_at(text, at, 4)) continue;
    const std::size_t point = insertion_point(body, at + 4);
    if (point != kNotDefinition) return point;
  }
  return std::string_view::npos;
}

void BodyText::insert_into_main(std::string_view prologue) {
  const std::size_t point = main_body_start(text_);
  if (point == std::string_view::npos) return;
  const std::string_view body = text_;
  rewrite([&](auto& out) {
    out.reserve(body.size() + prologue.size() + 1);
    put_copy(out, body, 0, point);
    put_made_new(out, prologue);
    put_made_new(out, "\n");
    put_copy(out, body, point, body.size());
    return true;
  });
}

}  // namespace glsl
