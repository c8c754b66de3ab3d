// Renaming image names as tokens.
//
// Cut the text into tokens (tokens.h): words, the longest runs of
// identifier characters, and single other characters. A name matches as a
// whole word where it starts at a word and covers whole tokens: where the
// text's tokens equal its tokens and, when it ends in a character that is
// not an identifier character, the token after it is not a word. The
// sampler written in its place is one word between tokens that are not
// words, so a renaming replaces a run of tokens by one word and leaves the
// others as they are; a word stays a word. A name of one word relabels
// every token that carries it, at once. Tokens that cannot be in a match
// are kept as one node per run.
//
// A token is changed once a renaming relabelled or replaced it, and then it
// carries a sampler. A name that none of the changed tokens' words holds
// matches only over unchanged tokens, that is where it matched in the text
// as last read: a reading by an automaton of the names of several tokens
// still to come (ShortestNames) gives those places, the shortest name at
// each, and a place still holds while none of its tokens has gone (a count
// of the gone tokens by position answers in log time). The names matching
// at one place are prefixes of each other and the shortest comes first in
// the table: by the time a longer one comes, the shortest changed a token
// of the place or found one changed.
//
// A name holding a word that changed tokens carry can also match over them.
// Its matches are looked for either around every token that carries its
// least common word (each match holds one), or at its places plus around
// the changed tokens that carry one of its words, whichever looks at fewer
// tokens. The tokens of each word are kept in lists that a relabelling
// joins without visiting them (word_lists.h). When the looking since the
// last reading would come to more than a new reading of the text and the
// names still to come, the text is read again and every token counts as
// unchanged.
//
// Each name takes its matches left to right, skipping those that overlap
// one taken before, as the plain rule does. The output is the text with
// each changed token's sampler written over the stretch it stands for.
#include "glsl/renaming/token_renaming.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "glsl/renaming/shortest_names.h"
#include "glsl/renaming/tokens.h"
#include "glsl/renaming/word_lists.h"
#include "glsl/text/index.h"
#include "glsl/text/body_text.h"
#include "glsl/text/range_sums.h"

namespace glsl {
namespace {

// The `prev` of a node that a renaming replaced: no node's number.
constexpr std::uint32_t kReplaced = kNone - 1;

struct Name {
  std::vector<std::uint32_t> tokens;  // labels
  std::uint32_t sampler;
};

// The text as a list of tokens under renaming. A node is a token of the
// original text, a run of tokens that cannot be in a match, or (numbered
// after those) a sampler written over a run of nodes.
class TokenList {
 public:
  // Tokens that cannot be in a match (no name holds them, or a character
  // after such a token or at the start) stand together as one node, labelled
  // by the first: only whether the first is a word matters.
  TokenList(std::string_view text, const Vocabulary& vocabulary, const bool (&held)[256],
            const std::vector<Name>& names)
      : text_(text), vocabulary_(vocabulary), names_(names), words_(vocabulary.labels()) {
    bool joining = false;
    for_each_token(text, [&](std::size_t begin, std::size_t end) {
      const std::uint32_t label = vocabulary.label_of(text, begin, end);
      // A character can be in a match only after a token that can.
      const bool holds = is_word(label) ? label >= kFirstWord : held[label] && !nodes_.empty() && !joining;
      if (!holds && joining) return;
      joining = !holds;
      const std::uint32_t x = add_node(static_cast<std::uint32_t>(begin), label);
      if (label >= kFirstWord) words_.add(x, label, false);
    });
    original_ = static_cast<std::uint32_t>(nodes_.size());
    if (original_ > 0) nodes_[original_ - 1].next = kNone;
    head_ = original_ > 0 ? 0 : kNone;
    alive_ = original_;
    for (std::uint32_t i = 0; i < names.size(); ++i) {
      if (names[i].tokens.size() > 1) long_.push_back(i);
    }
    tokens_after_.assign(long_.size() + 1, 0);
    for (std::size_t j = long_.size(); j-- > 0;) {
      tokens_after_[j] = tokens_after_[j + 1] + names[long_[j]].tokens.size();
    }
    place_begin_.assign(names.size(), 0);
    place_count_.assign(names.size(), 0);
    read(0);
  }

  void rename_all() {
    for (std::uint32_t i = 0; i < names_.size(); ++i) {
      if (names_[i].tokens.size() == 1) {
        changed_ = words_.rename(names_[i].tokens[0], names_[i].sampler) || changed_;
      } else {
        rename(i);
      }
    }
  }

  bool changed() const { return changed_; }

  // The text with each changed node's sampler in place of its stretch.
  template <class Out>
  void write(Out& out) const {
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

 private:
  struct Node {
    std::uint32_t begin;       // where its stretch of the original text starts (up to the next node's)
    std::uint32_t prev, next;  // in the text; prev kReplaced once replaced
    std::uint32_t fixed;       // its label, for a node of the original text
    std::uint32_t rank;        // its place when the text was last read, or kNone
  };

  std::uint32_t add_node(std::uint32_t begin, std::uint32_t label) {
    const std::uint32_t x = static_cast<std::uint32_t>(nodes_.size());
    nodes_.push_back({begin, x == 0 ? kNone : x - 1, x + 1, label, kNone});
    return x;
  }

  // A word's node carries what the word lists say, any other its own label.
  std::uint32_t label(std::uint32_t x) {
    const std::uint32_t word = words_.word_of(x);
    return word == kNone ? nodes_[x].fixed : word;
  }
  std::uint32_t label(std::uint32_t x) const {
    const std::uint32_t word = words_.word_of(x);
    return word == kNone ? nodes_[x].fixed : word;
  }

  // Reads the text as it now is: the nodes are ranked, every node counts as
  // unchanged, and the automaton of the names of several tokens from the
  // name `from` on gives their places.
  void read(std::uint32_t from) {
    std::vector<std::uint32_t> labels, nodes;
    labels.reserve(alive_);
    nodes.reserve(alive_);
    for (std::uint32_t x = head_; x != kNone; x = nodes_[x].next) {
      nodes_[x].rank = static_cast<std::uint32_t>(nodes.size());
      nodes.push_back(x);
      labels.push_back(label(x));
    }
    gone_ = RangeSums<std::uint32_t>(nodes.size());
    words_.settle();
    work_ = 0;

    const std::size_t first = std::lower_bound(long_.begin(), long_.end(), from) - long_.begin();
    std::vector<const ShortestNames::Tokens*> reading;
    for (std::size_t j = first; j < long_.size(); ++j) reading.push_back(&names_[long_[j]].tokens);
    const auto found = ShortestNames(reading).matches(labels);
    std::vector<std::size_t> filled(long_.size() - first, 0);  // by name, then where its places go
    for (const auto& match : found) ++filled[match.second];
    std::size_t next = 0;
    for (std::size_t j = 0; j < filled.size(); ++j) {
      place_begin_[long_[first + j]] = next;
      place_count_[long_[first + j]] = filled[j];
      filled[j] = next;
      next += place_count_[long_[first + j]];
    }
    places_.resize(found.size());
    for (std::size_t i = found.size(); i-- > 0;) {  // ascending places
      places_[filled[found[i].second]++] = nodes[found[i].first];
    }
  }

  // The ways to find the matches of a name, by the nodes each looks at.
  struct Costs {
    bool none = false;           // a word of the name no node carries
    bool holds_changed = false;  // a word that changed nodes carry
    std::size_t around_least = SIZE_MAX, least_at = 0, around_changed = 0;
  };
  Costs costs(std::uint32_t i) const {
    const Name& name = names_[i];
    Costs costs;
    costs.around_changed = place_count_[i];
    for (std::size_t o = 0; o < name.tokens.size(); ++o) {
      const std::uint32_t label = name.tokens[o];
      if (!is_word(label)) continue;
      const std::size_t unchanged = words_.unchanged_count(label);
      const std::size_t changed = words_.changed_count(label);
      if (unchanged + changed == 0) {
        costs.none = true;
        return costs;
      }
      if (unchanged + changed < costs.around_least) {
        costs.around_least = unchanged + changed;
        costs.least_at = o;
      }
      costs.around_changed += changed;
      costs.holds_changed = costs.holds_changed || changed > 0;
    }
    return costs;
  }

  // The matches of name `i` in the text as it is, by their first node in
  // text order; then each taken unless it overlaps one taken before.
  //
  // A place from the last reading still holds while none of its nodes has
  // gone: a node relabelled since carries a word whose nodes are all
  // changed ones (the word's lists were emptied, and only changed nodes
  // joined them), so a name holding that word either finds none (`none`) or
  // looks around them all, which costs no more than the places.
  void rename(std::uint32_t i) {
    const Name& name = names_[i];
    const std::size_t k = name.tokens.size();
    Costs c = costs(i);
    if (c.none) return;
    if (c.holds_changed) {
      // Looking around changed nodes comes to cost as much as a new reading
      // of the text and the names still to come: then read it again.
      const std::size_t cost = std::min(c.around_least, c.around_changed);
      const std::size_t j = std::lower_bound(long_.begin(), long_.end(), i) - long_.begin();
      if (work_ + cost > alive_ + tokens_after_[j]) {
        read(i);
        c = costs(i);
      }
      work_ += std::min(c.around_least, c.around_changed);
    }
    starts_.clear();
    if (!c.holds_changed || c.around_changed <= c.around_least) {
      for (std::size_t at = place_begin_[i]; at < place_begin_[i] + place_count_[i]; ++at) {
        const std::uint32_t p = places_[at];
        if (gone_.sum(nodes_[p].rank, nodes_[p].rank + k) == 0) starts_.push_back(p);
      }
      for (std::size_t o = 0; c.holds_changed && o < k; ++o) {
        if (is_word(name.tokens[o])) look_around(name.tokens[o], true, name, o);
      }
    } else {
      look_around(name.tokens[c.least_at], false, name, c.least_at);
      look_around(name.tokens[c.least_at], true, name, c.least_at);
    }
    std::sort(starts_.begin(), starts_.end(),
              [&](std::uint32_t a, std::uint32_t b) { return nodes_[a].begin < nodes_[b].begin; });
    starts_.erase(std::unique(starts_.begin(), starts_.end()), starts_.end());
    for (const std::uint32_t start : starts_) {
      if (nodes_[start].prev != kReplaced) replace(start, k, name.sampler);
    }
  }

  // The first node of a match of `name` whose token `at` is `x`, or kNone.
  std::uint32_t match_around(std::uint32_t x, const Name& name, std::size_t at) {
    std::uint32_t start = x;
    for (std::size_t o = at; o-- > 0;) {
      start = nodes_[start].prev;
      if (start == kNone || label(start) != name.tokens[o]) return kNone;
    }
    std::uint32_t last = x;
    for (std::size_t o = at + 1; o < name.tokens.size(); ++o) {
      last = nodes_[last].next;
      if (last == kNone || label(last) != name.tokens[o]) return kNone;
    }
    // A name ending in another character must not run into a word.
    const std::uint32_t after = nodes_[last].next;
    if (!is_word(name.tokens.back()) && after != kNone && is_word(label(after))) return kNone;
    return start;
  }

  // The matches around the nodes of `word` (changed or unchanged) as the
  // name's token `at`.
  void look_around(std::uint32_t word, bool changed, const Name& name, std::size_t at) {
    words_.for_each(word, changed, [&](std::uint32_t x) {
      const std::uint32_t start = match_around(x, name, at);
      if (start != kNone) starts_.push_back(start);
    });
  }

  // `count` nodes from `start` give way to one node of `sampler`.
  void replace(std::uint32_t start, std::size_t count, std::uint32_t sampler) {
    const std::uint32_t before = nodes_[start].prev;
    std::uint32_t x = start, after = start;
    for (std::size_t i = 0; i < count; ++i, x = after) {
      after = nodes_[x].next;
      if (nodes_[x].rank != kNone) gone_.add(nodes_[x].rank, 1);
      words_.remove(x);
      nodes_[x].prev = kReplaced;
    }
    const std::uint32_t made = add_node(nodes_[start].begin, sampler);
    words_.add(made, sampler, true);
    nodes_[made].prev = before;
    nodes_[made].next = after;
    if (before == kNone) {
      head_ = made;
    } else {
      nodes_[before].next = made;
    }
    if (after != kNone) nodes_[after].prev = made;
    alive_ -= static_cast<std::uint32_t>(count - 1);
    changed_ = true;
  }

  std::string_view text_;
  const Vocabulary& vocabulary_;
  const std::vector<Name>& names_;
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

}  // namespace

bool rename_as_tokens(BodyText& body, const std::vector<const ImageEntry*>& names) {
  const std::string_view text = body.text();
  Vocabulary vocabulary;
  std::vector<Name> tokens(names.size());
  bool held[256] = {};  // the characters that names hold
  for (std::uint32_t i = 0; i < names.size(); ++i) {
    tokens[i].tokens = vocabulary.add_tokens(names[i]->first);
    tokens[i].sampler = vocabulary.add_sampler(names[i]->second);
    for (const std::uint32_t label : tokens[i].tokens) {
      if (!is_word(label)) held[label] = true;
    }
  }
  TokenList list(text, vocabulary, held, tokens);
  list.rename_all();
  if (!list.changed()) return false;
  return body.rewrite([&](auto& out) {
    out.reserve(room_for_rewrite(text.size()));
    list.write(out);
    return true;
  });
}

}  // namespace glsl
