// All calls of the ISF image macros in a body, with their arguments as the
// splitter cuts them, found in one reading and handed over cluster by
// cluster. The reading works only on a regular body, where every call is a
// region of its own that no rewrite elsewhere can change (image_calls.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>
#include <vector>

#include "glsl/calls/call_syntax.h"
#include "glsl/calls/macro_calls.h"

namespace glsl {

// Positions as 32-bit offsets: the open calls are the reading's memory.
struct ImageCall {
  std::uint32_t name_at;
  std::uint32_t close;        // the ")" that ends the call, or the text's end
  std::uint32_t first_begin;  // first argument: [first_begin, first_end)
  std::uint32_t first_end;
  std::uint32_t first_comma;
  std::uint32_t second_end;
  std::uint8_t macro;           // index into the macro names
  std::uint8_t argument_count;  // as split; 4 stands for "4 or more"

  MacroCall macro_call() const {
    return {name_at, close, true, argument_count, first_begin, first_end, first_comma, second_end};
  }
};

// The whole-word occurrences of the macro names that are calls, in text
// order, each with its "(" and where its first argument begins.
class CallReader {
 public:
  CallReader(std::string_view text, const std::vector<std::string_view>& macro_names);

  // The next call; false at the end of the text or where the text is not
  // regular (then regular() is false).
  bool next(ImageCall& call, std::size_t& open);
  bool regular() const { return regular_; }

 private:
  bool next_name(std::size_t from);

  std::string_view text_;
  const std::vector<std::string_view>& names_;
  std::string_view common_;  // the prefix that all names share
  // The next name, read ahead: a skip stops where it stands.
  bool have_name_ = false;
  std::size_t name_at_ = 0, name_end_ = 0, macro_ = 0;
  bool regular_ = true;
};


// True when `text` is regular and under 4 GB.
bool is_regular(std::string_view text, const std::vector<std::string_view>& macro_names);

// The open calls on a stack, each list at the depth inside its "(": a ")"
// at that depth closes the call on top, a "," there cuts its arguments.
// Example: in "IMG_SIZE(IMG_SIZE(a)) IMG_SIZE(b)" the inner call closes
// first, at 19, then the outer at 20, and the two make one cluster [0, 21);
// the third call, whose name stands at 22, past the blank after that ")",
// makes a cluster of its own.
template <class OnCall, class OnCluster>
class ImageCallWalk {
 public:
  ImageCallWalk(std::string_view text, const std::vector<std::string_view>& macro_names,
                OnCall& on_call, OnCluster& on_cluster)
      : text_(text), reader_(text, macro_names), on_call_(on_call), on_cluster_(on_cluster) {
    // Room for the deepest nesting the text can hold (a call takes at least
    // nine bytes): only the part that is used is ever touched, and the stack
    // never moves.
    stack_.reserve(text.size() / 9 + 1);
    more_ = reader_.next(next_, next_open_);
  }

  void read() {
    walk_parentheses(text_, *this);
    while (!stack_.empty()) close_top(text_.size());
    if (cluster_calls_ > 0) on_cluster_(cluster_begin_, text_.size(), cluster_calls_);
  }

  // The steps of walk_parentheses.
  std::size_t next_start(std::size_t) const { return more_ ? next_open_ : std::string_view::npos; }
  void open(std::size_t, std::size_t depth) {
    if (stack_.empty() && cluster_calls_ == 0) cluster_begin_ = next_.name_at;
    ++cluster_calls_;
    stack_.push_back({next_.name_at, next_.first_begin, 0, 0, 0, offset(depth + 1), next_.macro, 0});
    more_ = reader_.next(next_, next_open_);
  }
  void close(std::size_t x, std::size_t depth) {
    if (!stack_.empty() && stack_.back().depth == depth) close_top(x);
  }
  void comma(std::size_t x, std::size_t depth) {
    if (stack_.empty() || stack_.back().depth != depth || x < stack_.back().first_begin) return;
    Open& open = stack_.back();
    if (open.commas == 0) open.first_comma = offset(x);
    if (open.commas == 1) open.second_comma = offset(x);
    if (open.commas < 3) ++open.commas;
    open.last_comma = offset(x);
  }
  bool any_open() const { return !stack_.empty(); }
  // The cluster goes on when the next call touches this one's ")".
  void all_closed(std::size_t x) {
    if (more_ && next_.name_at <= x) return;
    on_cluster_(cluster_begin_, x, cluster_calls_);
    cluster_calls_ = 0;
  }

 private:
  // What an open call needs, kept small: deep nests hold many at once.
  struct Open {
    std::uint32_t name_at;
    std::uint32_t first_begin;
    std::uint32_t first_comma;
    std::uint32_t second_comma;
    std::uint32_t last_comma;
    std::uint32_t depth;
    std::uint8_t macro;
    std::uint8_t commas;  // counted up to 3
  };

  static std::uint32_t offset(std::size_t at) { return static_cast<std::uint32_t>(at); }

  void close_top(std::size_t end) {
    const Open& open = stack_.back();
    ImageCall call{};
    call.name_at = open.name_at;
    call.close = offset(end);
    call.first_begin = open.first_begin;
    call.first_end = open.commas == 0 ? offset(end) : open.first_comma;
    call.first_comma = open.first_comma;
    call.second_end = open.commas <= 1 ? offset(end) : open.second_comma;
    call.macro = open.macro;
    call.argument_count = static_cast<std::uint8_t>(
        count_arguments(open.first_begin, end, open.commas, open.last_comma,
                        [&] { return last_non_blank_before(text_, end); }));
    stack_.pop_back();
    on_call_(call);
  }

  std::string_view text_;
  CallReader reader_;
  OnCall& on_call_;
  OnCluster& on_cluster_;
  std::vector<Open> stack_;
  ImageCall next_{};  // the next call to open, read ahead
  std::size_t next_open_ = 0;
  bool more_ = false;
  std::size_t cluster_begin_ = 0, cluster_calls_ = 0;
};

// On a regular `text` (which ends at its first NUL already), calls
// on_call(call) for every call as its ")" is read (inner calls first), and
// on_cluster(begin, end, calls) for every cluster: calls whose regions
// overlap or touch, from the first name to past the last ")". One reading
// (ImageCallWalk), linear in the text.
template <class OnCall, class OnCluster>
void read_image_calls(std::string_view text, const std::vector<std::string_view>& macro_names,
                      OnCall&& on_call, OnCluster&& on_cluster) {
  ImageCallWalk<std::remove_reference_t<OnCall>, std::remove_reference_t<OnCluster>> walk(
      text, macro_names, on_call, on_cluster);
  walk.read();
}

}  // namespace glsl
