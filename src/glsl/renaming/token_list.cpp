// The token list's steps: cutting the text into nodes, reading it for the
// places of the long names, and renaming one name by relabelling its word
// or replacing its matches.
#include "glsl/renaming/token_list.h"

#include <algorithm>

#include "glsl/renaming/shortest_names.h"

namespace glsl {

// Tokens that cannot be in a match (no name holds them, or a character
// after such a token or at the start) stand together as one node, labelled
// by the first: only whether the first is a word matters.
TokenList::TokenList(std::string_view text, const Vocabulary& vocabulary, const bool (&held)[256],
                     const std::vector<TokenName>& names)
    : text_(text), vocabulary_(vocabulary), names_(names), words_(vocabulary.labels()) {
  cut_into_nodes(held);
  list_long_names();
  read(0);
}

void TokenList::cut_into_nodes(const bool (&held)[256]) {
  bool joining = false;
  for_each_token(text_, [&](std::size_t begin, std::size_t end) {
    const std::uint32_t label = vocabulary_.label_of(text_, begin, end);
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
}

// The names of several tokens, and how many tokens they have from each on.
void TokenList::list_long_names() {
  for (std::uint32_t i = 0; i < names_.size(); ++i) {
    if (names_[i].tokens.size() > 1) long_.push_back(i);
  }
  tokens_after_.assign(long_.size() + 1, 0);
  for (std::size_t j = long_.size(); j-- > 0;) {
    tokens_after_[j] = tokens_after_[j + 1] + names_[long_[j]].tokens.size();
  }
  place_begin_.assign(names_.size(), 0);
  place_count_.assign(names_.size(), 0);
}

void TokenList::rename_all() {
  for (std::uint32_t i = 0; i < names_.size(); ++i) {
    if (names_[i].tokens.size() == 1) {
      changed_ = words_.rename(names_[i].tokens[0], names_[i].sampler) || changed_;
    } else {
      rename(i);
    }
  }
}

std::uint32_t TokenList::add_node(std::uint32_t begin, std::uint32_t label) {
  const std::uint32_t x = static_cast<std::uint32_t>(nodes_.size());
  nodes_.push_back({begin, x == 0 ? kNone : x - 1, x + 1, label, kNone});
  return x;
}

std::uint32_t TokenList::label(std::uint32_t x) {
  const std::uint32_t word = words_.word_of(x);
  return word == kNone ? nodes_[x].fixed : word;
}

std::uint32_t TokenList::label(std::uint32_t x) const {
  const std::uint32_t word = words_.word_of(x);
  return word == kNone ? nodes_[x].fixed : word;
}

// Reads the text as it now is: the nodes are ranked, every node counts as
// unchanged, and the automaton of the names of several tokens from the
// name `from` on gives their places.
void TokenList::read(std::uint32_t from) {
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

TokenList::Costs TokenList::costs(std::uint32_t i) const {
  const TokenName& name = names_[i];
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
void TokenList::rename(std::uint32_t i) {
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
  collect_starts(i, c);
  std::sort(starts_.begin(), starts_.end(),
            [&](std::uint32_t a, std::uint32_t b) { return nodes_[a].begin < nodes_[b].begin; });
  starts_.erase(std::unique(starts_.begin(), starts_.end()), starts_.end());
  const TokenName& name = names_[i];
  for (const std::uint32_t start : starts_) {
    if (nodes_[start].prev != kReplaced) replace(start, name.tokens.size(), name.sampler);
  }
}

// The first nodes of the matches of name `i`, in any order, into starts_.
//
// A place from the last reading still holds while none of its nodes has
// gone: a node relabelled since carries a word whose nodes are all
// changed ones (the word's lists were emptied, and only changed nodes
// joined them), so a name holding that word either finds none (`none`) or
// looks around them all, which costs no more than the places.
void TokenList::collect_starts(std::uint32_t i, const Costs& c) {
  const TokenName& name = names_[i];
  const std::size_t k = name.tokens.size();
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
}

// The first node of a match of `name` whose token `at` is `x`, or kNone.
std::uint32_t TokenList::match_around(std::uint32_t x, const TokenName& name, std::size_t at) {
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
void TokenList::look_around(std::uint32_t word, bool changed, const TokenName& name, std::size_t at) {
  words_.for_each(word, changed, [&](std::uint32_t x) {
    const std::uint32_t start = match_around(x, name, at);
    if (start != kNone) starts_.push_back(start);
  });
}

// `count` nodes from `start` give way to one node of `sampler`.
void TokenList::replace(std::uint32_t start, std::size_t count, std::uint32_t sampler) {
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

}  // namespace glsl
