// The text under renaming as a list of tokens (tokens.h) that renamings
// relabel and replace, and the matching of a name over it, as
// token_renaming.cpp describes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "glsl/renaming/tokens.h"
#include "glsl/renaming/word_lists.h"
#include "glsl/text/index.h"
#include "glsl/text/line_map.h"
#include "glsl/text/range_sums.h"

namespace glsl {

// An image name as tokens, and its sampler.
struct TokenName {
  std::vector<std::uint32_t> tokens;  // labels
  std::uint32_t sampler;
};

// A node is a token of the original text, a run of tokens that cannot be in
// a match, or (numbered after those) a sampler written over a run of nodes.
class TokenList {
 public:
  // `held`: the characters that the names hold. `text`, `vocabulary` and
  // `names` must outlive the list.
  TokenList(std::string_view text, const Vocabulary& vocabulary, const bool (&held)[256],
            const std::vector<TokenName>& names);

  // Every name renamed, one after another in their order.
  void rename_all();
  bool changed() const { return changed_; }

  // The text with each changed node's sampler in place of its stretch,
  // through put_copy and put_made_for (text/line_map.h).
  template <class Out>
  void write(Out& out) const;

 private:
  // The `prev` of a node that a renaming replaced: no node's number.
  static constexpr std::uint32_t kReplaced = kNone - 1;

  struct Node {
    std::uint32_t begin;       // where its stretch of the original text starts (up to the next node's)
    std::uint32_t prev, next;  // in the text; prev kReplaced once replaced
    std::uint32_t fixed;       // its label, for a node of the original text
    std::uint32_t rank;        // its place when the text was last read, or kNone
  };

  // The ways to find the matches of a name, by the nodes each looks at.
  struct Costs {
    bool none = false;           // a word of the name no node carries
    bool holds_changed = false;  // a word that changed nodes carry
    std::size_t around_least = SIZE_MAX, least_at = 0, around_changed = 0;
  };

  void cut_into_nodes(const bool (&held)[256]);
  void list_long_names();
  std::uint32_t add_node(std::uint32_t begin, std::uint32_t label);
  // A word's node carries what the word lists say, any other its own label
  // (the first finds it faster next time).
  std::uint32_t label(std::uint32_t x);
  std::uint32_t label(std::uint32_t x) const;
  void read(std::uint32_t from);
  Costs costs(std::uint32_t i) const;
  void rename(std::uint32_t i);
  void collect_starts(std::uint32_t i, const Costs& c);
  std::uint32_t match_around(std::uint32_t x, const TokenName& name, std::size_t at);
  void look_around(std::uint32_t word, bool changed, const TokenName& name, std::size_t at);
  void replace(std::uint32_t start, std::size_t count, std::uint32_t sampler);

  std::string_view text_;
  const Vocabulary& vocabulary_;
  const std::vector<TokenName>& names_;
  std::vector<std::uint32_t> long_;        // the names of several tokens
  std::vector<std::size_t> tokens_after_;  // their tokens, from each on
  std::vector<Node> nodes_;
  WordLists words_;
  std::uint32_t original_ = 0;
  std::uint32_t head_ = kNone;
  std::uint32_t alive_ = 0;
  bool changed_ = false;
  // The last reading: the nodes gone since, the places of the names by
  // name, and the work done around changed nodes since.
  RangeSums<std::uint32_t> gone_;  // how many nodes of the text as last read have gone, by rank
  std::vector<std::uint32_t> places_;
  std::vector<std::size_t> place_begin_, place_count_;
  std::size_t work_ = 0;
  std::vector<std::uint32_t> starts_;
};

template <class Out>
void TokenList::write(Out& out) const {
  std::size_t copied = 0;
  for (std::uint32_t x = head_; x != kNone; x = nodes_[x].next) {
    const std::uint32_t now = label(x);
    if (x < original_ && now == nodes_[x].fixed) continue;  // copied with its stretch
    put_copy(out, text_, copied, nodes_[x].begin);
    put_made_for(out, vocabulary_.word(now), nodes_[x].begin);
    const std::uint32_t next = nodes_[x].next;  // where its stretch ends
    copied = next == kNone ? text_.size() : nodes_[next].begin;
  }
  put_copy(out, text_, copied, text_.size());
}

}  // namespace glsl
