// The argument splitter: cuts argument lists at their top-level commas, for
// many lists in one reading of the text.
#include "glsl/calls/split_call_arguments.h"

#include <algorithm>
#include <cstdint>

#include "glsl/calls/call_syntax.h"

namespace glsl {
namespace {

bool is_list_char(char c) { return c == '(' || c == ')' || c == ','; }

}  // namespace

// The open lists are kept on a stack ordered by the depth at which they
// began: a comma or ")" concerns only the lists at the current depth, at the
// top, and a list stops taking commas once it holds `cap`.
template <class Offset>
std::vector<ArgumentList<Offset>> split_call_arguments(std::string_view text,
                                                       const PositionSet<Offset>& starts,
                                                       std::size_t cap) {
  const std::size_t n = text.size();
  std::vector<ArgumentList<Offset>> lists(starts.size());

  struct Pending {
    Offset depth;  // of the text where the list began
    Offset rank;
    Offset start;
    Offset commas;  // top-level commas so far, counted up to cap
    Offset comma1;
    Offset comma2;
    Offset last_comma;
  };
  std::vector<Pending> open;  // depths never decrease towards the top

  // Closes the lists at the top that began at `depth`; `non_blank` caches
  // the last non-blank character before `end` (n: not looked up yet).
  const auto close_lists = [&](std::size_t depth, std::size_t end, std::size_t& non_blank) {
    for (; !open.empty() && open.back().depth == depth; open.pop_back()) {
      const Pending& list = open.back();
      const std::size_t count = count_arguments(list.start, end, list.commas, list.last_comma, [&] {
        if (non_blank == n) non_blank = last_non_blank_before(text, end);
        return non_blank;
      });
      const Offset close = static_cast<Offset>(end);
      lists[list.rank] = {static_cast<Offset>(count),
                           list.commas > 0 ? list.comma1 : close, list.comma1,
                           list.commas > 1 ? list.comma2 : close};
    }
  };

  std::size_t depth = 0;
  std::size_t next_start = starts.next_member(0);
  std::size_t x = next_start;
  while (x <= n) {
    if (x == next_start) {
      open.push_back({static_cast<Offset>(depth), static_cast<Offset>(starts.rank(x)),
                      static_cast<Offset>(x), 0, 0, 0, 0});
      next_start = starts.next_member(x + 1);
    }
    if (x == n) break;
    const char c = text[x];
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      std::size_t non_blank = n;
      close_lists(depth, x, non_blank);
      if (depth > 0) --depth;
    } else if (c == ',') {
      // Lists at this depth took the same commas; the older ones more of them.
      for (std::size_t k = open.size(); k-- > 0 && open[k].depth == depth;) {
        Pending& list = open[k];
        if (list.commas >= cap) break;
        if (list.commas == 0) list.comma1 = static_cast<Offset>(x);
        if (list.commas == 1) list.comma2 = static_cast<Offset>(x);
        list.last_comma = static_cast<Offset>(x);
        ++list.commas;
      }
    }
    ++x;
    if (open.empty()) {
      depth = 0;
      x = next_start;
    } else {
      const std::size_t stop = std::min(next_start, n);
      while (x < stop && !is_list_char(text[x])) ++x;
    }
  }
  std::size_t non_blank = n;
  while (!open.empty()) close_lists(open.back().depth, n, non_blank);
  return lists;
}

template std::vector<ArgumentList<std::uint32_t>> split_call_arguments(
    std::string_view, const PositionSet<std::uint32_t>&, std::size_t);
template std::vector<ArgumentList<std::uint64_t>> split_call_arguments(
    std::string_view, const PositionSet<std::uint64_t>&, std::size_t);

}  // namespace glsl
