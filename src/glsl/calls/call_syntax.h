// The syntax of an image-macro call, each rule stated once. A call is a
// whole-word macro name followed, past white space and /* */ comments, by
// "("; its argument list begins past the blanks and comments after that "(",
// is cut at each "," outside inner parentheses, and ends at the first ")"
// that closes no inner "(" or at the end of the text. White space before a
// comma or the ")" stays in its argument; an empty last argument is none:
//   IMG_SIZE /* c */ (img)    one argument, "img"
//   IMG_PIXEL(img, f(a, b))   two, "img" and "f(a, b)"
//   IMG_PIXEL(img , )         one, "img " (the empty last one is none)
//   IMG_THIS_PIXEL( )         none
#pragma once

#include <cstddef>
#include <string_view>

#include "glsl/text/chars.h"

namespace glsl {

// From `at`, past white space and /* */ comments as often as they follow one
// another, up to `limit`; a comment not closed before `limit` runs to it.
// comment(open, close) is asked about each comment from its "/*" to its "*/"
// (close is npos when it runs to `limit`); false from it gives npos.
template <class Comment>
std::size_t skip_blanks_and_comments(std::string_view text, std::size_t at, std::size_t limit,
                                     const Comment& comment) {
  while (at < limit) {
    if (is_white_space(text[at])) {
      ++at;
    } else if (text[at] == '/' && at + 1 < text.size() && text[at + 1] == '*') {
      const std::size_t close = text.substr(0, limit).find("*/", at + 2);
      if (!comment(at, close)) return std::string_view::npos;
      at = close == std::string_view::npos ? limit : close + 2;
    } else {
      break;
    }
  }
  return at;
}

// The same to the end of `text`: where the "(" of a call or its first
// argument stands. calls/blank_skip.h answers it for many positions at once.
inline std::size_t skip_blanks_and_comments(std::string_view text, std::size_t at) {
  return skip_blanks_and_comments(text, at, text.size(), [](std::size_t, std::size_t) { return true; });
}

// The last character before `end` that is not white space, or npos.
inline std::size_t last_non_blank_before(std::string_view text, std::size_t end) {
  while (end > 0 && is_white_space(text[end - 1])) --end;
  return end == 0 ? std::string_view::npos : end - 1;
}

// The arguments of a list that begins at `begin`, ends at `end` and holds
// `commas` top-level commas, the last at `last_comma`: an empty last
// argument is none. last_non_blank() gives last_non_blank_before(text, end),
// asked only when there is a comma (a caller closing many lists at one ")"
// asks once).
template <class LastNonBlank>
std::size_t count_arguments(std::size_t begin, std::size_t end, std::size_t commas,
                            std::size_t last_comma, const LastNonBlank& last_non_blank) {
  const bool last_empty = commas == 0 ? begin >= end : last_non_blank() == last_comma;
  return commas + (last_empty ? 0 : 1);
}

// The one reading of parentheses behind every reader of many calls at once:
// from the first place where a list opens, the depth counts the "(" not yet
// closed, and "(", ")" and "," are reported with the depth they stand at;
// once no list is open the depth starts again from 0 at the next opening.
// `walk` provides:
//   next_start(from)  the next place at `from` or later where a list opens
//                     (the "(" of a call, or where its arguments begin), or
//                     any value past the text's end
//   open(x, depth)    a list opens at x, before text[x] is read
//   close(x, depth)   a ")" at x, read at `depth` (then the depth drops)
//   comma(x, depth)   a "," at x
//   any_open()        whether a list is open
//   all_closed(x)     the ")" before x closed the last open list
// Between the openings only "(", ")" and "," are looked at, so the reading
// is linear in the text whatever the lists. Example, lists opening at the
// two "(" of "f(a, g(b), c)" (depths after the opening "(" read):
//   "(" at 1: open(1, 0)        "," at 3: comma(3, 1)
//   "(" at 6: open(6, 1)        ")" at 8: close(8, 2)
//   "," at 9: comma(9, 1)       ")" at 12: close(12, 1), then all_closed(13)
template <class Walk>
void walk_parentheses(std::string_view text, Walk& walk) {
  const std::size_t n = text.size();
  std::size_t depth = 0;
  std::size_t next_start = walk.next_start(0);
  std::size_t x = next_start;
  while (x <= n) {
    if (x == next_start) {
      walk.open(x, depth);
      next_start = walk.next_start(x + 1);
    }
    if (x == n) break;
    const char c = text[x];
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      walk.close(x, depth);
      if (depth > 0) --depth;
    } else if (c == ',') {
      walk.comma(x, depth);
    }
    ++x;
    if (!walk.any_open()) {
      walk.all_closed(x);
      depth = 0;
      x = next_start;
    } else {
      const std::size_t stop = next_start < n ? next_start : n;
      while (x < stop && text[x] != '(' && text[x] != ')' && text[x] != ',') ++x;
    }
  }
}

}  // namespace glsl
