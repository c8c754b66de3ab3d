// skip_blanks_and_comments for many starting positions at once: one pass from
// the end of the text, constant work per position, constant memory. Chains of
// comments that a position-by-position skip would walk again and again (a
// macro name inside each comment of a chain) cost nothing extra here.
#pragma once

#include <cstddef>
#include <string_view>

#include "glsl/chars.h"

namespace glsl {

// Calls visit(x, skip_blanks_and_comments(text, x)) for x = text.size() down
// to `lowest`.
template <class Visit>
void skip_from_the_end(std::string_view text, std::size_t lowest, Visit&& visit) {
  const std::size_t n = text.size();
  // skip(x + 1) .. skip(x + 4) while x is being computed; skip(n) == n.
  std::size_t s1 = n, s2 = n, s3 = n, s4 = n;
  // Where a comment opened at x lands: after the first "*/" at x + 2 or later.
  std::size_t after_close = n;
  visit(n, n);
  for (std::size_t x = n; x-- > lowest;) {
    if (x + 3 < n && text[x + 2] == '*' && text[x + 3] == '/') after_close = s4;
    std::size_t skip = x;
    if (is_white_space(text[x])) {
      skip = s1;
    } else if (text[x] == '/' && x + 1 < n && text[x + 1] == '*') {
      skip = after_close;
    }
    visit(x, skip);
    s4 = s3;
    s3 = s2;
    s2 = s1;
    s1 = skip;
  }
}

}  // namespace glsl
