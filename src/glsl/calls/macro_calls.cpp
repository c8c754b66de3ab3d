// Finds the calls of one macro and splits their arguments without rescanning.
//
// Linear time, on any input: every pass below reads the text at most once,
// does constant work per character, and touches each call a bounded number
// of times. A one-call-at-a-time reading would instead look for each call's
// ")" to the end of the text, split nested calls again at every level and
// skip the same comments after every macro name inside them; here
//  - the skips after the names and after each "(" come from skip_at,
//  - each "(" finds its ")" in one pass with a stack of the calls' "(" only,
//  - the splitter's view of every call comes from one pass of
//    split_call_arguments over the lists that open with the image name (the
//    others are not followed at all), which stops counting a list's commas
//    once it holds more than the macro's argument count.
// Memory stays proportional to the number of calls, plus a few bits per
// character for the position sets.
// The splitter starts past leading comments, whose parentheses do not count
// for it but do for the ")" search, so it is given its own start and depth.
//
// Example, IMG_PIXEL over "IMG_PIXEL(img, IMG_PIXEL(img, p))": the name pass
// finds two names and the skips put a "(" right after each; the parenthesis
// pass gives the outer "(" the last ")" and the inner one the ")" before
// it; one splitter pass over both lists cuts the outer at its one top-level
// comma, leaving the inner call whole in the second argument.
#include "glsl/calls/macro_calls.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "glsl/calls/blank_skip.h"
#include "glsl/calls/call_syntax.h"
#include "glsl/calls/split_call_arguments.h"
#include "glsl/text/chars.h"
#include "glsl/text/word_search.h"

namespace glsl {

template <class Offset>
MacroCalls<Offset>::MacroCalls(std::string_view text, std::string_view macro_name,
                               std::string_view image_name, std::size_t expected)
    : text_(text),
      cap_(std::min<std::size_t>(expected, std::numeric_limits<Offset>::max() - 1) + 1),
      image_length_(image_name.size()),
      open_set_(0),
      start_set_(0),
      split_set_(0) {
  find_calls(macro_name);
  if (calls_.empty()) return;
  match_parentheses();
  find_argument_starts();
  split_image_lists(image_name);
}

template <class Offset>
void MacroCalls<Offset>::find_calls(std::string_view macro_name) {
  const std::size_t n = text_.size();
  const std::size_t length = macro_name.size();
  if (length == 0 || !is_name_start_char(macro_name[0])) return;

  WordSearch search(text_, macro_name);
  std::vector<Offset> ends;  // of the whole-word occurrences
  for (std::size_t at = search.next(0); at != std::string_view::npos; at = search.next(at + 1)) {
    if (is_whole_word_at(text_, at, length)) ends.push_back(static_cast<Offset>(at + length));
  }
  if (ends.empty()) return;
  std::vector<Offset> landing;
  skip_at(text_, ends, landing);
  open_set_ = PositionSet<Offset>(n);
  for (std::size_t i = 0; i < ends.size(); ++i) {
    if (landing[i] < n && text_[landing[i]] == '(') {
      calls_.push_back({static_cast<Offset>(ends[i] - length), landing[i]});
      open_set_.insert(landing[i]);
    }
  }
  open_set_.seal();
}

// The ")" of each distinct "(" of a call, with a stack of those "(" only:
// a ")" at the depth of the "(" on top closes it. Example: in
// "IMG_SIZE((a)) IMG_SIZE(b", the "(" at 8 finds its ")" at 12 (the one at
// 11 closes the inner "(" at 9); the "(" at 22 has none and ends at the text.
namespace {

// Opens: a vector, by rank of the "(", of entries with a `close`.
template <class Offset, class Opens>
struct ParenthesisMatcher {
  const PositionSet<Offset>& open_set;
  Opens& opens;
  struct Unclosed {
    Offset depth;  // inside this "("
    Offset rank;
  };
  std::vector<Unclosed> stack;

  std::size_t next_start(std::size_t from) const { return open_set.next_member(from); }
  void open(std::size_t x, std::size_t depth) {
    stack.push_back({static_cast<Offset>(depth + 1), static_cast<Offset>(open_set.rank(x))});
  }
  void close(std::size_t x, std::size_t depth) {
    if (!stack.empty() && stack.back().depth == depth) {
      opens[stack.back().rank].close = static_cast<Offset>(x);
      stack.pop_back();
    }
  }
  void comma(std::size_t, std::size_t) {}
  bool any_open() const { return !stack.empty(); }
  void all_closed(std::size_t) {}
};

}  // namespace

template <class Offset>
void MacroCalls<Offset>::match_parentheses() {
  opens_.assign(open_set_.size(), {static_cast<Offset>(text_.size()), 0});
  ParenthesisMatcher<Offset, std::vector<Open>> matcher{open_set_, opens_, {}};
  walk_parentheses(text_, matcher);
}

template <class Offset>
void MacroCalls<Offset>::find_argument_starts() {
  std::vector<Offset> after_open;
  after_open.reserve(open_set_.size());
  for (std::size_t x = open_set_.next_member(0); x != open_set_.npos; x = open_set_.next_member(x + 1)) {
    after_open.push_back(static_cast<Offset>(x + 1));
  }
  std::vector<Offset> skips;
  skip_at(text_, after_open, skips);
  // The splitter reads only up to the call's ")": a skip past it stops there.
  start_set_ = PositionSet<Offset>(text_.size());
  for (std::size_t rank = 0; rank < opens_.size(); ++rank) {
    opens_[rank].start = std::min(skips[rank], opens_[rank].close);
    start_set_.insert(opens_[rank].start);
  }
  start_set_.seal();
}

template <class Offset>
void MacroCalls<Offset>::split_image_lists(std::string_view image_name) {
  const std::size_t n = text_.size();
  // Only lists that begin with the image name can qualify; the others are
  // not split at all.
  WordSearch image(text_, image_name);
  split_set_ = PositionSet<Offset>(n);
  for (std::size_t x = start_set_.next_member(0); x != start_set_.npos; x = start_set_.next_member(x + 1)) {
    if (image_name.empty() || image.next(x) == x) split_set_.insert(x);
  }
  split_set_.seal();
  lists_ = split_call_arguments(text_, split_set_, cap_);
}

template <class Offset>
MacroCall MacroCalls<Offset>::call(std::size_t i) const {
  const Open& open = opens_[open_set_.rank(calls_[i].open)];
  MacroCall call{};
  call.name_at = calls_[i].name;
  call.close = open.close;
  call.first_begin = open.start;
  if (!split_set_.contains(open.start)) return call;
  const ArgumentList<Offset>& list = lists_[split_set_.rank(open.start)];
  call.argument_count = list.count;
  call.first_end = list.first_end;
  call.first_comma = list.first_comma;
  call.second_end = list.second_end;
  call.first_matches =
      image_length_ == 0 || (list.count > 0 && list.first_end - open.start == image_length_);
  return call;
}

template class MacroCalls<std::uint32_t>;
template class MacroCalls<std::uint64_t>;

}  // namespace glsl
