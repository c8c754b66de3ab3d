// The image passes over one cluster of calls, evaluated as a tree.
//
// Read literally, every image runs every row over the cluster. On a regular
// body the calls nest like their parentheses, and a rewrite changes only
// the call it stands in: the call's text becomes made text around its
// second argument, which is copied as it stands, with the calls in it. So
// each call's fate is one pass (image, row): the first pass whose row is
// its macro's, whose image's name its first argument then equals, in which
//  - no outer call of the same pass was rewritten before it (the rewrite
//    skips past what it replaced),
//  - its name is still a whole word: a size uniform written just before its
//    name (an IMG_SIZE call that ended there) ends it from the next pass on,
//  - it was not dropped with the first argument of an outer call.
// A first argument changes only when a call inside it is rewritten. No
// image name holds a macro name, so a first argument that holds a call in
// the text names no image, and neither do those around it: only the nearest
// call whose first argument holds the rewritten one is looked at again, and
// its first argument is read only once no call is left in it and its length
// (kept as sums of what each rewrite added) is a name's length. Once no call
// is left in it, it never changes again.
//
// The calls wait in a queue by (pass, place): each is taken at most once
// per change of its first argument, so a cluster costs its size times a log,
// whatever the number of images.
//
// Example, images "a" (tex0) and "b" (tex1), cluster
// "IMG_PIXEL(b, IMG_NORM_PIXEL(a, uv))": the inner call's fate is the pass
// (a, IMG_NORM_PIXEL), the outer's the later pass (b, IMG_PIXEL); the
// inner one stands in the outer's second argument, which is copied as it
// stands, so the cluster becomes "texture2D(tex1, (texture2D(tex0,
// uv))/resolution)" with each call taken from the queue once.
#include "glsl/calls/call_tree.h"

#include <algorithm>

#include "glsl/rules/rule_tables.h"
#include "glsl/text/chars.h"
#include "glsl/text/line_map.h"

namespace glsl {
namespace {

constexpr std::size_t kRows = kImageRows.size();

// Pass numbers start at 1: 0 stands for "before the first pass".
std::uint32_t pass_of(std::size_t image, std::size_t row) {
  return static_cast<std::uint32_t>(image * kRows + row + 1);
}
std::size_t image_of(std::uint32_t pass) { return static_cast<std::size_t>((pass - 1) / kRows); }
std::size_t row_of(std::uint32_t pass) { return static_cast<std::size_t>((pass - 1) % kRows); }

// A first argument read again, up to one character past the longest name.
struct Capped {
  std::string& text;
  std::size_t cap;
  bool full() const { return text.size() >= cap; }
};
bool full(const Capped& out) { return out.full(); }
template <class Out>
bool full(const Out&) {
  return false;
}
void put_copy(Capped& out, std::string_view in, std::size_t begin, std::size_t end) {
  out.text.append(in.substr(begin, std::min(end - begin, out.cap - out.text.size())));
}
void put_made_for(Capped& out, std::string_view made, std::size_t) {
  out.text.append(made.substr(0, std::min(made.size(), out.cap - out.text.size())));
}

}  // namespace

CallTree::CallTree(std::string_view text, std::size_t begin, std::size_t end,
                   const std::vector<std::string_view>& macro_names, ImageSet& images)
    : text_(text), images_(images), live_(0), open_(0), growth_(0) {
  const auto shift = static_cast<std::uint32_t>(begin);
  read_image_calls(
      text.substr(0, end).substr(begin), macro_names,
      [&](ImageCall call) {
        for (std::uint32_t* at : {&call.name_at, &call.close, &call.first_begin, &call.first_end,
                                  &call.first_comma, &call.second_end}) {
          *at += shift;
        }
        nodes_.push_back({call});
      },
      [](std::size_t, std::size_t, std::size_t) {});
  std::sort(nodes_.begin(), nodes_.end(),
            [](const Node& a, const Node& b) { return a.call.name_at < b.call.name_at; });
  live_ = RangeSums<>(nodes_.size());
  open_ = RangeSums<>(nodes_.size());
  growth_ = RangeSums<>(nodes_.size());
  std::vector<std::uint32_t> open;  // the calls around the next one
  std::vector<std::uint32_t> last_child(nodes_.size(), kNone);
  std::uint32_t last_root = kNone;
  for (std::uint32_t at = 0; at < nodes_.size(); ++at) {
    const ImageCall& call = nodes_[at].call;
    while (!open.empty() && region_end(nodes_[open.back()]) <= call.name_at) open.pop_back();
    if (open.empty()) {
      (last_root == kNone ? first_root_ : nodes_[last_root].next_sibling) = at;
      last_root = at;
    } else {
      const std::uint32_t parent = open.back();
      Node& outer = nodes_[parent];
      (last_child[parent] == kNone ? outer.first_child : nodes_[last_child[parent]].next_sibling) = at;
      last_child[parent] = at;
      const bool in_first = call.name_at < outer.call.first_end;
      if (!in_first && outer.second_child == kNone) outer.second_child = at;
      nodes_[at].first_owner = in_first ? parent : outer.first_owner;
    }
    open.push_back(at);
    live_.add(at, 1);
    if (region_end(nodes_[at]) == text_.size()) open_.add(at, 1);
  }
  for (std::uint32_t at = 0; at < nodes_.size(); ++at) {
    Node& node = nodes_[at];
    const auto past = std::lower_bound(
        nodes_.begin() + at + 1, nodes_.end(), node.call.first_end,
        [](const Node& a, std::uint32_t end) { return a.call.name_at < end; });
    node.first_last = static_cast<std::uint32_t>(past - nodes_.begin());
  }
}

std::size_t CallTree::region_end(const Node& node) const {
  return node.call.close < text_.size() ? node.call.close + 1 : text_.size();
}

void CallTree::enqueue(std::uint32_t node, std::uint32_t pass) {
  nodes_[node].queued_for = pass;
  if (pass != kNone) queue_.emplace(pass, nodes_[node].call.name_at, node);
}

// Reads the call's first argument as it now stands into `first`; false
// when it cannot be an image's name.
bool CallTree::read_first_argument(std::uint32_t node, std::string_view& first) {
  const Node& n = nodes_[node];
  const std::size_t begin = n.call.first_begin, end = n.call.first_end;
  if (n.first_child == n.second_child) {
    first = text_.substr(begin, end - begin);
    return true;
  }
  const std::uint32_t from = node + 1;
  if (live_.sum(from, n.first_last) > 0) return false;
  const std::int64_t length =
      static_cast<std::int64_t>(end - begin) + growth_.sum(from, n.first_last);
  if (length < 0 || !images_.is_name_length(static_cast<std::size_t>(length))) return false;
  first_.clear();
  Capped out{first_, images_.longest_name() + 1};
  put_stretch(out, begin, end, n.first_child);
  first = first_;
  return true;
}

// The first pass after `after` whose row and image the call's first
// argument, as it now stands, qualifies for.
std::uint32_t CallTree::next_pass(std::uint32_t node, std::uint32_t after) {
  const ImageCall& call = nodes_[node].call;
  if (call.argument_count != kImageRows[call.macro].argument_count) return kNone;
  std::string_view first;
  if (!read_first_argument(node, first)) return kNone;
  const std::size_t image = images_.rank_of(first);
  if (image == ImageSet::npos) return kNone;
  const std::uint32_t pass = pass_of(image, call.macro);
  return pass > after ? pass : kNone;
}

CallTree::Outcome CallTree::evaluate() {
  for (std::uint32_t node = 0; node < nodes_.size(); ++node) enqueue(node, next_pass(node, 0));
  bool changed = false;
  std::uint32_t pass = 0;
  std::size_t skip_end = 0;  // the end of the last call this pass rewrote
  std::vector<std::uint32_t> touched;  // calls this pass rewrote
  while (!queue_.empty() || !touched.empty()) {
    if (queue_.empty() || std::get<0>(queue_.top()) != pass) {
      // The pass is over: the first arguments it changed are read again.
      if (!touched.empty()) {
        refresh(touched, pass);
        continue;
      }
      pass = std::get<0>(queue_.top());
      skip_end = 0;
    }
    const std::uint32_t node = std::get<2>(queue_.top());
    queue_.pop();
    Node& n = nodes_[node];
    if (n.queued_for != pass) continue;  // queued again since
    n.queued_for = kNone;
    if (n.removed || n.whole_until < pass) continue;
    // Inside a call this pass rewrote: skipped with it, and its first
    // argument still names this image, so it waits for a change.
    if (n.call.name_at < skip_end) continue;
    if (!rewrite(node, pass)) return Outcome::not_followed;
    skip_end = region_end(n);
    touched.push_back(node);
    changed = true;
  }
  return changed ? Outcome::changed : Outcome::unchanged;
}

// What the call's rewrite added to the length of the text.
std::int64_t CallTree::growth(std::uint32_t node) const {
  const Node& n = nodes_[node];
  std::int64_t growth = -static_cast<std::int64_t>(region_end(n) - n.call.name_at);
  for_each_replacement_piece(
      text_, n.call.macro_call(),
      images_.rewrite(kImageRows[row_of(n.rewritten_in)], image_of(n.rewritten_in)),
      [&](std::string_view made) { growth += static_cast<std::int64_t>(made.size()); },
      [&](std::size_t begin, std::size_t end) { growth += static_cast<std::int64_t>(end - begin); });
  return growth;
}

// False, with nothing done, when the rewrite is one the tree does not follow.
bool CallTree::rewrite(std::uint32_t node, std::uint32_t pass) {
  Node& n = nodes_[node];
  const bool unclosed = region_end(n) == text_.size();
  if (unclosed && open_.sum(n.first_last, nodes_.size()) > 0) return false;
  if (unclosed) open_.add(node, -1);
  n.rewritten_in = pass;
  const ImageRow& row = kImageRows[row_of(pass)];
  images_.note_effects(row, image_of(pass));
  live_.add(node, -1);
  growth_.add(node, growth(node));
  // The calls in the first argument go with it.
  for (std::uint32_t child = n.first_child; child != n.second_child;
       child = nodes_[child].next_sibling) {
    drop(child);
  }
  // When what the call becomes ends in an identifier character (a size
  // uniform), a call right after it is no call from the next pass on. (No
  // row ends in a copied argument; its last character would be taken as
  // written.)
  char last = ')';
  for_each_replacement_piece(
      text_, n.call.macro_call(), images_.rewrite(row, image_of(pass)),
      [&](std::string_view made) {
        if (!made.empty()) last = made.back();
      },
      [&](std::size_t begin, std::size_t end) {
        if (end > begin) last = text_[end - 1];
      });
  if (is_identifier_char(last) && n.call.close < text_.size()) {
    const std::uint32_t after = n.call.close + 1;
    const auto next = std::lower_bound(
        nodes_.begin() + node, nodes_.end(), after,
        [](const Node& a, std::uint32_t at) { return a.call.name_at < at; });
    if (next != nodes_.end() && next->call.name_at == after) {
      next->whole_until = std::min(next->whole_until, pass);
    }
  }
  return true;
}

// Takes a call and the calls inside it out of the text.
void CallTree::drop(std::uint32_t node) {
  std::vector<std::uint32_t> dropped = {node};
  while (!dropped.empty()) {
    const std::uint32_t at = dropped.back();
    dropped.pop_back();
    Node& n = nodes_[at];
    if (n.removed) continue;
    n.removed = true;
    if (n.rewritten_in == kNone) {
      live_.add(at, -1);
      if (region_end(n) == text_.size()) open_.add(at, -1);
    } else {
      growth_.add(at, -growth(at));
    }
    for (std::uint32_t child = n.first_child; child != kNone; child = nodes_[child].next_sibling) {
      dropped.push_back(child);
    }
  }
}

// The nearest call whose first argument holds a call this pass rewrote.
void CallTree::refresh(std::vector<std::uint32_t>& touched, std::uint32_t pass) {
  std::vector<std::uint32_t> owners;
  for (const std::uint32_t node : touched) {
    const std::uint32_t owner = nodes_[node].first_owner;
    if (owner != kNone && !nodes_[owner].removed) owners.push_back(owner);
  }
  touched.clear();
  std::sort(owners.begin(), owners.end());
  owners.erase(std::unique(owners.begin(), owners.end()), owners.end());
  for (const std::uint32_t owner : owners) enqueue(owner, next_pass(owner, pass));
}

template <class Out>
void CallTree::put_stretch(Out& out, std::size_t begin, std::size_t end,
                           std::uint32_t child) const {
  // What is left to write, innermost last: a stretch with the calls in it,
  // or a rewritten call, by the replacement piece it is at.
  struct Step {
    std::uint32_t node;  // kNone: a stretch
    std::uint32_t at;    // stretch: from here; call: the next piece
    std::uint32_t end;
    std::uint32_t child;
  };
  std::vector<Step> steps;
  steps.push_back({kNone, static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end), child});
  const auto enter = [&](std::uint32_t node) {
    const Node& n = nodes_[node];
    if (n.rewritten_in == kNone) {
      steps.push_back({kNone, n.call.name_at, static_cast<std::uint32_t>(region_end(n)), n.first_child});
    } else {
      steps.push_back({node, 0, 0, kNone});
    }
  };
  while (!steps.empty() && !full(out)) {
    Step& step = steps.back();
    if (step.node == kNone) {
      const std::uint32_t next = step.child;
      if (next != kNone && nodes_[next].call.name_at < step.end) {
        const Node& n = nodes_[next];
        put_copy(out, text_, step.at, n.call.name_at);
        step.at = static_cast<std::uint32_t>(region_end(n));
        step.child = n.next_sibling;
        enter(next);
      } else {
        put_copy(out, text_, step.at, step.end);
        steps.pop_back();
      }
      continue;
    }
    // The piece the call is at, found by walking its pieces again (a
    // replacement has at most ten).
    const std::uint32_t node = step.node;
    const std::uint32_t wanted = step.at++;
    const Node& n = nodes_[node];
    const MacroCall call = n.call.macro_call();
    const MacroRewrite rewrite =
        images_.rewrite(kImageRows[row_of(n.rewritten_in)], image_of(n.rewritten_in));
    std::uint32_t piece = 0;
    bool found = false, copied = false;
    std::size_t copy_begin = 0, copy_end = 0;
    std::string_view made;
    for_each_replacement_piece(
        text_, call, rewrite,
        [&](std::string_view text) {
          if (piece++ == wanted) {
            found = true;
            made = text;
          }
        },
        [&](std::size_t b, std::size_t e) {
          if (piece++ == wanted) {
            found = copied = true;
            copy_begin = b;
            copy_end = e;
          }
        });
    if (!found) {
      steps.pop_back();
    } else if (copied) {
      // An argument: the calls in it are this call's children from the
      // first one that stands in it on.
      const std::uint32_t from = copy_begin < n.call.first_end ? n.first_child : n.second_child;
      steps.push_back({kNone, static_cast<std::uint32_t>(copy_begin),
                       static_cast<std::uint32_t>(copy_end), from});
    } else {
      put_made_for(out, made, n.call.name_at);
    }
  }
}

template <class Out>
void CallTree::write(Out& out, std::size_t begin, std::size_t end) const {
  put_stretch(out, begin, end, first_root_);
}

template void CallTree::write(std::string&, std::size_t, std::size_t) const;
template void CallTree::write(TrackedOutput&, std::size_t, std::size_t) const;

}  // namespace glsl
