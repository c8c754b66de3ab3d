// Finds the calls of one macro and splits their arguments without rescanning.
//
// Linear time, on any input: every pass below reads the text once, does
// constant work per character, and touches each call a bounded number of
// times. A one-call-at-a-time reading would instead look for each call's ")"
// to the end of the text, split nested calls again at every level and skip
// the same comments after every macro name inside them; here
//  - the skips after the names and after the "(" come from two passes from
//    the end (skip_from_the_end),
//  - each "(" finds its ")" in one pass with a stack of the calls' "(" only,
//  - the splitter's view of every call comes from one pass that keeps the
//    open argument lists on a stack ordered by depth: a comma or ")" concerns
//    only the lists at the current depth, at the top, and a list stops taking
//    commas once it holds more than the macro's argument count.
// The splitter starts past leading comments, whose parentheses do not count
// for it but do for the ")" search, so it is given its own start and depth.
#include "glsl/macro_calls.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "glsl/blank_skip.h"
#include "glsl/chars.h"
#include "glsl/word_search.h"

namespace glsl {

template <class Offset>
MacroCalls<Offset>::MacroCalls(std::string_view text, std::string_view macro_name,
                               std::string_view image_name, std::size_t expected)
    : text_(text),
      cap_(std::min<std::size_t>(expected, std::numeric_limits<Offset>::max() - 1) + 1),
      image_length_(image_name.size()),
      open_set_(text.size()),
      start_set_(text.size()) {
  find_calls(macro_name);
  if (names_.empty()) return;
  match_parentheses();
  find_argument_starts();
  split_arguments(image_name);
}

template <class Offset>
void MacroCalls<Offset>::find_calls(std::string_view macro_name) {
  const std::size_t n = text_.size();
  const std::size_t length = macro_name.size();
  if (length == 0 || !is_name_start_char(macro_name[0])) return;

  WordSearch search(text_, macro_name);
  std::vector<Offset> names;
  for (std::size_t at = search.next(0); at != std::string_view::npos; at = search.next(at + 1)) {
    const bool starts = at == 0 || !is_identifier_char(text_[at - 1]);
    const bool ends = at + length == n || !is_identifier_char(text_[at + length]);
    if (starts && ends) names.push_back(static_cast<Offset>(at));
  }
  if (names.empty()) return;

  // Where the skip after each name lands; a call when that is "(".
  std::vector<Offset> landing(names.size());
  std::size_t next = names.size();
  skip_from_the_end(text_, names.front() + length, [&](std::size_t x, std::size_t skip) {
    if (next > 0 && names[next - 1] + length == x) landing[--next] = static_cast<Offset>(skip);
  });
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (landing[i] < n && text_[landing[i]] == '(') {
      names_.push_back(names[i]);
      opens_.push_back(landing[i]);
      open_set_.insert(landing[i]);
    }
  }
  open_set_.seal();
}

template <class Offset>
void MacroCalls<Offset>::match_parentheses() {
  const std::size_t n = text_.size();
  closes_.assign(open_set_.size(), static_cast<Offset>(n));
  const std::size_t first = *std::min_element(opens_.begin(), opens_.end());
  const std::size_t last = *std::max_element(opens_.begin(), opens_.end());

  struct Open {
    std::size_t depth;  // inside this "("
    std::size_t rank;
  };
  std::vector<Open> open;
  std::size_t depth = 0;
  for (std::size_t x = first; x < n && (x <= last || !open.empty()); ++x) {
    if (text_[x] == '(') {
      ++depth;
      if (open_set_.contains(x)) open.push_back({depth, open_set_.rank(x)});
    } else if (text_[x] == ')') {
      if (!open.empty() && open.back().depth == depth) {
        closes_[open.back().rank] = static_cast<Offset>(x);
        open.pop_back();
      }
      if (depth > 0) --depth;
    }
  }
}

template <class Offset>
void MacroCalls<Offset>::find_argument_starts() {
  // The splitter reads only up to the call's ")": a skip that runs past it
  // stops there.
  starts_.assign(open_set_.size(), 0);
  const std::size_t lowest = *std::min_element(opens_.begin(), opens_.end()) + 1;
  skip_from_the_end(text_, lowest, [&](std::size_t x, std::size_t skip) {
    if (text_[x - 1] == '(' && open_set_.contains(x - 1)) {
      const std::size_t rank = open_set_.rank(x - 1);
      starts_[rank] = static_cast<Offset>(std::min<std::size_t>(skip, closes_[rank]));
    }
  });
  for (Offset start : starts_) start_set_.insert(start);
  start_set_.seal();
}

template <class Offset>
void MacroCalls<Offset>::split_arguments(std::string_view image_name) {
  const std::size_t n = text_.size();
  const std::size_t lists = start_set_.size();
  split_end_.assign(lists, static_cast<Offset>(n));
  comma1_.assign(lists, 0);
  comma2_.assign(lists, 0);
  last_comma_.assign(lists, 0);
  commas_.assign(lists, 0);
  image_at_start_.assign(lists, 0);
  last_empty_.assign(lists, 0);

  struct List {
    std::size_t depth;  // of the text where the list began
    std::size_t rank;
    std::size_t start;
  };
  std::vector<List> open;  // depths never decrease towards the top
  WordSearch image(text_, image_name);
  std::size_t last_non_blank = 0;
  const auto close = [&](const List& list, std::size_t end) {
    split_end_[list.rank] = static_cast<Offset>(end);
    last_empty_[list.rank] = commas_[list.rank] == 0 ? list.start == end
                                                     : last_non_blank == last_comma_[list.rank];
  };

  const std::size_t first = *std::min_element(starts_.begin(), starts_.end());
  const std::size_t last = *std::max_element(starts_.begin(), starts_.end());
  std::size_t depth = 0;
  std::size_t x = first;
  for (; x <= n && (x <= last || !open.empty()); ++x) {
    if (start_set_.contains(x)) {
      const std::size_t rank = start_set_.rank(x);
      image_at_start_[rank] = !image_name.empty() && image.next(x) == x;
      open.push_back({depth, rank, x});
    }
    if (x == n) break;
    const char c = text_[x];
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      for (; !open.empty() && open.back().depth == depth; open.pop_back()) close(open.back(), x);
      if (depth > 0) --depth;
    } else if (c == ',') {
      // Lists at this depth took the same commas; the older ones more of them.
      for (std::size_t k = open.size(); k-- > 0 && open[k].depth == depth;) {
        const std::size_t rank = open[k].rank;
        if (commas_[rank] >= cap_) break;
        if (commas_[rank] == 0) comma1_[rank] = static_cast<Offset>(x);
        if (commas_[rank] == 1) comma2_[rank] = static_cast<Offset>(x);
        last_comma_[rank] = static_cast<Offset>(x);
        ++commas_[rank];
      }
    }
    if (!is_white_space(c)) last_non_blank = x;
  }
  for (; !open.empty(); open.pop_back()) close(open.back(), n);
}

template <class Offset>
MacroCall MacroCalls<Offset>::call(std::size_t i) const {
  const std::size_t open = open_set_.rank(opens_[i]);
  const std::size_t start = starts_[open];
  const std::size_t list = start_set_.rank(start);
  const std::size_t commas = commas_[list];

  MacroCall call{};
  call.name_at = names_[i];
  call.close = closes_[open];
  call.argument_count = commas + (last_empty_[list] ? 0 : 1);
  call.first_begin = start;
  call.first_end = commas > 0 ? comma1_[list] : split_end_[list];
  call.first_comma = comma1_[list];
  call.second_end = commas > 1 ? comma2_[list] : split_end_[list];
  call.first_matches = image_length_ == 0 || (image_at_start_[list] != 0 && call.argument_count > 0 &&
                                               call.first_end - call.first_begin == image_length_);
  return call;
}

template class MacroCalls<std::uint32_t>;
template class MacroCalls<std::uint64_t>;

}  // namespace glsl
