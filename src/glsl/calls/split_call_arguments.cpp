// The argument splitter: cuts argument lists at their top-level commas, for
// many lists in one reading of the text.
#include "glsl/calls/split_call_arguments.h"

#include <cstdint>
#include <utility>

#include "glsl/calls/call_syntax.h"

namespace glsl {
namespace {

// The open lists are kept on a stack ordered by the depth at which they
// began: a comma or ")" concerns only the lists at the current depth, at the
// top, and a list stops taking commas once it holds `cap`. Example: with
// starts at 2 and 7 of "f(a, g(b, c), d)", the list at 2 begins at depth 0,
// takes the commas at 3 and 12 and ends at 15 with three arguments; the one
// at 7 begins at depth 1, takes the comma at 8 and ends at 11 with two.
template <class Offset>
class ArgumentSplitter {
 public:
  ArgumentSplitter(std::string_view text, const PositionSet<Offset>& starts, std::size_t cap)
      : text_(text), starts_(starts), cap_(cap), lists_(starts.size()) {}

  std::vector<ArgumentList<Offset>> split() {
    walk_parentheses(text_, *this);
    std::size_t non_blank = text_.size();
    while (!open_.empty()) close_lists(open_.back().depth, text_.size(), non_blank);
    return std::move(lists_);
  }

  // The steps of walk_parentheses.
  std::size_t next_start(std::size_t from) const { return starts_.next_member(from); }
  void open(std::size_t x, std::size_t depth) {
    open_.push_back({static_cast<Offset>(depth), static_cast<Offset>(starts_.rank(x)),
                     static_cast<Offset>(x), 0, 0, 0, 0});
  }
  void close(std::size_t x, std::size_t depth) {
    std::size_t non_blank = text_.size();
    close_lists(depth, x, non_blank);
  }
  // Lists at this depth took the same commas; the older ones more of them.
  void comma(std::size_t x, std::size_t depth) {
    for (std::size_t k = open_.size(); k-- > 0 && open_[k].depth == depth;) {
      Pending& list = open_[k];
      if (list.commas >= cap_) break;
      if (list.commas == 0) list.comma1 = static_cast<Offset>(x);
      if (list.commas == 1) list.comma2 = static_cast<Offset>(x);
      list.last_comma = static_cast<Offset>(x);
      ++list.commas;
    }
  }
  bool any_open() const { return !open_.empty(); }
  void all_closed(std::size_t) {}

 private:
  struct Pending {
    Offset depth;  // of the text where the list began
    Offset rank;
    Offset start;
    Offset commas;  // top-level commas so far, counted up to cap
    Offset comma1;
    Offset comma2;
    Offset last_comma;
  };

  // Closes the lists at the top that began at `depth`; `non_blank` keeps
  // the last non-blank character before `end` (the text's size: not looked
  // up yet).
  void close_lists(std::size_t depth, std::size_t end, std::size_t& non_blank) {
    for (; !open_.empty() && open_.back().depth == depth; open_.pop_back()) {
      const Pending& list = open_.back();
      const std::size_t count = count_arguments(list.start, end, list.commas, list.last_comma, [&] {
        if (non_blank == text_.size()) non_blank = last_non_blank_before(text_, end);
        return non_blank;
      });
      const Offset close = static_cast<Offset>(end);
      lists_[list.rank] = {static_cast<Offset>(count), list.commas > 0 ? list.comma1 : close,
                           list.comma1, list.commas > 1 ? list.comma2 : close};
    }
  }

  std::string_view text_;
  const PositionSet<Offset>& starts_;
  std::size_t cap_;
  std::vector<ArgumentList<Offset>> lists_;
  std::vector<Pending> open_;  // depths never decrease towards the top
};

}  // namespace

template <class Offset>
std::vector<ArgumentList<Offset>> split_call_arguments(std::string_view text,
                                                       const PositionSet<Offset>& starts,
                                                       std::size_t cap) {
  return ArgumentSplitter<Offset>(text, starts, cap).split();
}

template std::vector<ArgumentList<std::uint32_t>> split_call_arguments(
    std::string_view, const PositionSet<std::uint32_t>&, std::size_t);
template std::vector<ArgumentList<std::uint64_t>> split_call_arguments(
    std::string_view, const PositionSet<std::uint64_t>&, std::size_t);

}  // namespace glsl
