// skip_blanks_and_comments for many starting positions at once. Chains of
// comments that a position-by-position skip would walk again and again (a
// macro name inside each comment of a chain) cost nothing extra in the pass
// from the end: constant work per position, constant memory.
//
// Example, "/*a*/ /*b*/x": from 0 the skip passes the first comment, the
// blank and the second comment and lands on "x" at 11; so does the skip
// from 5 and from 6, while the one from 2 stays at 2. From the end, the
// answer at 6 is the answer just after its "*/" (11), and the answer at 0
// the one after its "*/" (at 5, which is the answer at 6).
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "glsl/calls/call_syntax.h"
#include "glsl/text/chars.h"

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

// skips[i] = skip_blanks_and_comments(text, queries[i]), queries ascending.
// Skips are mostly short and are read one by one; once they add up to more
// than twice the text, the pass from the end answers them all instead.
template <class Offset>
void skip_at(std::string_view text, const std::vector<Offset>& queries, std::vector<Offset>& skips) {
  skips.resize(queries.size());
  std::size_t work = 0;
  const std::size_t budget = 2 * text.size() + queries.size();
  for (std::size_t i = 0; i < queries.size(); ++i) {
    const std::size_t skip = skip_blanks_and_comments(text, queries[i]);
    skips[i] = static_cast<Offset>(skip);
    work += skip - queries[i] + 1;
    if (work > budget) break;
  }
  if (work <= budget || queries.empty()) return;
  std::size_t next = queries.size();
  skip_from_the_end(text, queries.front(), [&](std::size_t x, std::size_t skip) {
    while (next > 0 && queries[next - 1] == x) skips[--next] = static_cast<Offset>(skip);
  });
}

}  // namespace glsl
