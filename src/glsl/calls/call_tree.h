// A cluster of nested or touching image-macro calls of a regular body,
// rewritten through every image and row of the table in time that grows
// with the cluster, not with the number of images (call_tree.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <queue>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "glsl/calls/image_calls.h"
#include "glsl/calls/image_set.h"
#include "glsl/text/index.h"
#include "glsl/text/range_sums.h"

namespace glsl {

class CallTree {
 public:
  // The calls of the cluster [begin, end) of the regular `text`, read
  // again; the names of the images still to run must be plain
  // (ImageSet::plain_names) and not empty.
  CallTree(std::string_view text, std::size_t begin, std::size_t end,
           const std::vector<std::string_view>& macro_names, ImageSet& images);

  enum class Outcome {
    unchanged,
    changed,
    // An unclosed call was to be rewritten around another unclosed call: the
    // ")" it adds at the end of the text would end up in that one's
    // argument. The tree stops there; the effects noted so far are real.
    not_followed,
  };
  // Works out which pass rewrites each call and notes the effects on the
  // image set.
  Outcome evaluate();

  // Appends the cluster's stretch [begin, end) of the text as the passes
  // leave it. Out: std::string or TrackedOutput.
  template <class Out>
  void write(Out& out, std::size_t begin, std::size_t end) const;

 private:
  struct Node {
    ImageCall call;
    std::uint32_t first_child = kNone;
    std::uint32_t next_sibling = kNone;
    std::uint32_t second_child = kNone;  // the first child past the first argument
    std::uint32_t first_owner = kNone;   // the nearest call whose first argument holds this one
    std::uint32_t first_last = 0;        // past the last call in its first argument
    // Passes: image * rows + row + 1.
    std::uint32_t rewritten_in = kNone;  // the pass that rewrote it
    std::uint32_t queued_for = kNone;    // the pass it waits for
    std::uint32_t whole_until = kNone;   // after this pass its name is no whole word
    bool removed = false;                 // gone with an outer call's first argument
  };

  std::size_t region_end(const Node& node) const;
  std::uint32_t next_pass(std::uint32_t node, std::uint32_t after);
  bool read_first_argument(std::uint32_t node, std::string_view& first);
  std::int64_t growth(std::uint32_t node) const;
  bool rewrite(std::uint32_t node, std::uint32_t pass);
  void drop(std::uint32_t node);
  void refresh(std::vector<std::uint32_t>& touched, std::uint32_t pass);

  // Appends the text of [begin, end) with the calls in it, from `child` on,
  // as they stand; stops once `out` is full.
  template <class Out>
  void put_stretch(Out& out, std::size_t begin, std::size_t end, std::uint32_t child) const;

  std::string_view text_;
  ImageSet& images_;
  std::vector<Node> nodes_;  // by where their names stand
  std::uint32_t first_root_ = kNone;
  // (pass, where the name stands, node): a pass rewrites from left to right.
  using Entry = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue_;
  void enqueue(std::uint32_t node, std::uint32_t pass);
  RangeSums<> live_;    // by node: 1 while a call is in the text and not rewritten
  RangeSums<> open_;    // the same for the unclosed calls
  RangeSums<> growth_;  // by node: its growth while its rewrite is in the text
  std::string first_;  // a first argument as it now stands
};

}  // namespace glsl
