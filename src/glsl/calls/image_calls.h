// All calls of the ISF image macros in a body, with their arguments as the
// splitter cuts them, found in one reading and handed over cluster by
// cluster. The reading works only on a regular body, where every call is a
// region of its own that no rewrite elsewhere can change (image_calls.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
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

// On a regular `text` (which ends at its first NUL already), calls
// on_call(call) for every call as its ")" is read (inner calls first), and
// on_cluster(begin, end, calls) for every cluster: calls whose regions
// overlap or touch, from the first name to past the last ")".
//
// One reading with the open calls on a stack, each list at the depth inside
// its "(": a ")" at that depth closes the call on top, a "," there cuts its
// arguments. Linear in the text.
template <class OnCall, class OnCluster>
void read_image_calls(std::string_view text, const std::vector<std::string_view>& macro_names,
                      OnCall&& on_call, OnCluster&& on_cluster) {
  const std::size_t n = text.size();
  const auto offset = [](std::size_t at) { return static_cast<std::uint32_t>(at); };
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
  std::vector<Open> stack;
  // Room for the deepest nesting the text can hold (a call takes at least
  // nine bytes): only the part that is used is ever touched, and the stack
  // never moves.
  stack.reserve(n / 9 + 1);
  const auto close = [&](std::size_t end) {
    const Open& open = stack.back();
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
                        [&] { return last_non_blank_before(text, end); }));
    stack.pop_back();
    on_call(call);
  };

  CallReader reader(text, macro_names);
  ImageCall next{};
  std::size_t next_open = 0;
  bool more = reader.next(next, next_open);
  std::size_t cluster_begin = 0, cluster_calls = 0;
  std::size_t depth = 0;
  std::size_t x = more ? next_open : n;
  while (x < n) {
    const char c = text[x];
    if (more && x == next_open) {
      if (stack.empty() && cluster_calls == 0) cluster_begin = next.name_at;
      ++cluster_calls;
      ++depth;
      stack.push_back({next.name_at, next.first_begin, 0, 0, 0, offset(depth), next.macro, 0});
      more = reader.next(next, next_open);
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (!stack.empty() && stack.back().depth == depth) close(x);
      if (depth > 0) --depth;
    } else if (c == ',' && !stack.empty() && stack.back().depth == depth &&
               x >= stack.back().first_begin) {
      Open& open = stack.back();
      if (open.commas == 0) open.first_comma = offset(x);
      if (open.commas == 1) open.second_comma = offset(x);
      if (open.commas < 3) ++open.commas;
      open.last_comma = offset(x);
    }
    ++x;
    if (stack.empty()) {
      // The cluster goes on when the next call touches this one's ")".
      if (!more || next.name_at > x) {
        on_cluster(cluster_begin, x, cluster_calls);
        cluster_calls = 0;
      }
      depth = 0;
      x = more ? next_open : n;
    }
  }
  while (!stack.empty()) close(n);
  if (cluster_calls > 0) on_cluster(cluster_begin, n, cluster_calls);
}

}  // namespace glsl
