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
// every token that carries it, at once. Tokens that no name holds never
// match and are kept as one node per run.
//
// A token is changed once a renaming relabelled or replaced it, and then it
// carries a sampler. A name that none of the changed tokens' words holds
// matches only over unchanged tokens, that is where it matched in the text
// as it was: one reading of the original tokens by an automaton of all the
// names of several tokens (ShortestNames) gives those places, the shortest
// name at each, and a place still holds while no token of it has changed (a
// count of the changed tokens by position answers in log time). The names
// matching at one place are prefixes of each other and the shortest comes
// first in the table: by the time a longer one comes, the shortest changed
// a token of the place or found one changed.
//
// A name holding a word that changed tokens carry can also match over them.
// Its matches are looked for either around every token that carries its
// least common word (each match holds one), or at its places in the text as
// it was plus around the changed tokens that carry one of its words,
// whichever looks at fewer tokens. The tokens of each word are kept in two
// lists, the unchanged and the changed, and relabelling a word joins its
// lists to the sampler's (union by size), so a chain of renamings does not
// visit the tokens again.
//
// Each name takes its matches left to right, skipping those that overlap
// one taken before, as the plain rule does. The output is the text with
// each changed token's sampler written over the stretch it stands for.
#include "glsl/token_renaming.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "glsl/body_text.h"
#include "glsl/shortest_names.h"
#include "glsl/tokens.h"

namespace glsl {
namespace {

constexpr std::uint32_t kNil = UINT32_MAX;
constexpr std::uint32_t kGone = UINT32_MAX - 1;

// How many tokens of the text as last read have changed, by position (a
// Fenwick tree).
class ChangedCount {
 public:
  explicit ChangedCount(std::size_t size = 0) : tree_(size + 1, 0) {}
  void add(std::size_t at) {
    for (std::size_t i = at + 1; i < tree_.size(); i += i & (~i + 1)) ++tree_[i];
  }
  bool any(std::size_t begin, std::size_t end) const { return before(end) != before(begin); }

 private:
  std::uint32_t before(std::size_t at) const {
    std::uint32_t sum = 0;
    for (std::size_t i = at; i > 0; i -= i & (~i + 1)) sum += tree_[i];
    return sum;
  }
  std::vector<std::uint32_t> tree_;
};

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
      : text_(text), vocabulary_(vocabulary), names_(names) {
    class_of_.assign(vocabulary.labels(), kNil);
    // At most a node per token that names hold and one per run between, and
    // a written node for every two nodes or more.
    std::size_t held_tokens = 0;
    for_each_token(text, [&](std::size_t begin, std::size_t) {
      held_tokens += is_identifier_char(text[begin]) || held[static_cast<unsigned char>(text[begin])];
    });
    nodes_.reserve(3 * held_tokens + 2);
    bool joining = false;
    for_each_token(text, [&](std::size_t begin, std::size_t end) {
      const std::uint32_t label = vocabulary.label_of(text, begin, end);
      // A character can be in a match only after a token that can.
      const bool holds = is_word(label) ? label >= kFirstWord : held[label] && !nodes_.empty() && !joining;
      if (!holds && joining) return;
      joining = !holds;
      const std::uint32_t x = add_node(static_cast<std::uint32_t>(begin), label);
      if (label >= kFirstWord) add_to(classes_[class_for(label)].unchanged, x);
    });
    original_ = static_cast<std::uint32_t>(nodes_.size());
    if (original_ > 0) nodes_[original_ - 1].next = kNil;
    head_ = original_ > 0 ? 0 : kNil;
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
        relabel(names_[i].tokens[0], names_[i].sampler);
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
    for (std::uint32_t x = head_; x != kNil; x = nodes_[x].next) {
      const std::uint32_t now = label(x);
      if (x < original_ && now == nodes_[x].fixed) continue;  // copied with its stretch
      put_copy(out, text_, copied, nodes_[x].begin);
      put_made_for(out, vocabulary_.word(now), nodes_[x].begin);
      const std::uint32_t next = nodes_[x].next;  // where its stretch ends
      copied = next == kNil ? text_.size() : nodes_[next].begin;
    }
    put_copy(out, text_, copied, text_.size());
  }

 private:
  struct Node {
    std::uint32_t begin;       // where its stretch of the original text starts (up to the next node's)
    std::uint32_t prev, next;  // in the text; prev kGone once replaced
    std::uint32_t cprev, cnext;  // in the list of its class
    std::uint32_t fixed;       // its label, for a node of the original text
    std::uint32_t list_of;     // a list it was put in (found by `find`), or kNil
    std::uint32_t rank;        // its place when the text was last read, or kNil
  };
  // The nodes that carry one label, in two lists: those unchanged since the
  // text was last read, and the others.
  struct Class {
    std::uint32_t label;
    std::uint32_t unchanged, changed;  // lists (roots)
    bool touched;                      // its changed list filled since the last reading
  };
  // A circular list of nodes. Lists join as sets do (union by size), so
  // that a node finds its list, and so its class, through `parent`.
  struct List {
    std::uint32_t parent;
    std::uint32_t head = kNil;
    std::uint32_t count = 0;
    std::uint32_t cls;
  };

  std::uint32_t add_node(std::uint32_t begin, std::uint32_t label) {
    const std::uint32_t x = static_cast<std::uint32_t>(nodes_.size());
    nodes_.push_back({begin, x == 0 ? kNil : x - 1, x + 1, kNil, kNil, label, kNil, kNil});
    return x;
  }

  std::uint32_t new_list(std::uint32_t cls) {
    lists_.push_back({static_cast<std::uint32_t>(lists_.size()), kNil, 0, cls});
    return lists_.back().parent;
  }

  std::uint32_t class_for(std::uint32_t label) {
    if (class_of_[label] == kNil) {
      const std::uint32_t c = class_of_[label] = static_cast<std::uint32_t>(classes_.size());
      classes_.push_back({label, new_list(c), new_list(c), false});
    }
    return class_of_[label];
  }

  std::uint32_t find(std::uint32_t list) {
    std::uint32_t root = list;
    while (lists_[root].parent != root) root = lists_[root].parent;
    while (lists_[list].parent != root) {
      const std::uint32_t up = lists_[list].parent;
      lists_[list].parent = root;
      list = up;
    }
    return root;
  }
  std::uint32_t find(std::uint32_t list) const {
    while (lists_[list].parent != list) list = lists_[list].parent;
    return list;
  }

  std::uint32_t label(std::uint32_t x) {
    return nodes_[x].list_of == kNil ? nodes_[x].fixed : classes_[lists_[find(nodes_[x].list_of)].cls].label;
  }
  std::uint32_t label(std::uint32_t x) const {
    return nodes_[x].list_of == kNil ? nodes_[x].fixed : classes_[lists_[find(nodes_[x].list_of)].cls].label;
  }

  void add_to(std::uint32_t list, std::uint32_t x) {
    nodes_[x].list_of = list;
    std::uint32_t& head = lists_[list].head;
    ++lists_[list].count;
    if (head == kNil) {
      head = nodes_[x].cnext = nodes_[x].cprev = x;
      return;
    }
    const std::uint32_t tail = nodes_[head].cprev;
    nodes_[tail].cnext = x;
    nodes_[x].cprev = tail;
    nodes_[x].cnext = head;
    nodes_[head].cprev = x;
  }

  void remove_from_list(std::uint32_t x) {
    if (nodes_[x].list_of == kNil) return;
    List& list = lists_[find(nodes_[x].list_of)];
    --list.count;
    if (nodes_[x].cnext == x) {
      list.head = kNil;
      return;
    }
    nodes_[nodes_[x].cprev].cnext = nodes_[x].cnext;
    nodes_[nodes_[x].cnext].cprev = nodes_[x].cprev;
    if (list.head == x) list.head = nodes_[x].cnext;
  }

  // One list of the nodes of two (roots), owned by class `cls`.
  std::uint32_t join(std::uint32_t a, std::uint32_t b, std::uint32_t cls) {
    if (lists_[a].count < lists_[b].count) std::swap(a, b);
    List& into = lists_[a];
    List& from = lists_[b];
    if (from.head != kNil && into.head != kNil) {
      const std::uint32_t into_tail = nodes_[into.head].cprev, from_tail = nodes_[from.head].cprev;
      nodes_[into_tail].cnext = from.head;
      nodes_[from.head].cprev = into_tail;
      nodes_[from_tail].cnext = into.head;
      nodes_[into.head].cprev = from_tail;
    } else if (into.head == kNil) {
      into.head = from.head;
    }
    into.count += from.count;
    from.parent = a;
    from.head = kNil;
    from.count = 0;
    into.cls = cls;
    return a;
  }

  void touch(std::uint32_t c) {
    if (classes_[c].touched) return;
    classes_[c].touched = true;
    touched_.push_back(c);
  }

  // Every node that carries `word` now carries `sampler`.
  void relabel(std::uint32_t word, std::uint32_t sampler) {
    const std::uint32_t c = class_of_[word];
    if (c == kNil) return;
    class_of_[word] = kNil;
    Class from = classes_[c];
    if (lists_[from.unchanged].count + lists_[from.changed].count > 0) changed_ = true;
    const std::uint32_t moved = join(from.changed, from.unchanged, c);
    const std::uint32_t empty = new_list(c);
    const std::uint32_t d = class_of_[sampler];
    if (d == kNil) {
      classes_[c] = {sampler, empty, moved, from.touched};
      class_of_[sampler] = c;
      touch(c);
    } else {
      classes_[d].changed = join(classes_[d].changed, moved, d);
      touch(d);
    }
  }

  // Reads the text as it now is: the nodes are ranked, every node counts as
  // unchanged, and the automaton of the names of several tokens from the
  // name `from` on gives their places.
  void read(std::uint32_t from) {
    std::vector<std::uint32_t> labels, nodes;
    labels.reserve(alive_);
    nodes.reserve(alive_);
    for (std::uint32_t x = head_; x != kNil; x = nodes_[x].next) {
      nodes_[x].rank = static_cast<std::uint32_t>(nodes.size());
      nodes.push_back(x);
      labels.push_back(label(x));
    }
    changed_count_ = ChangedCount(nodes.size());
    for (const std::uint32_t c : touched_) {
      Class& cls = classes_[c];
      cls.touched = false;
      if (class_of_[cls.label] != c) continue;  // joined another
      cls.unchanged = join(cls.unchanged, cls.changed, c);
      cls.changed = new_list(c);
    }
    touched_.clear();
    work_ = 0;

    const std::size_t first_long = std::lower_bound(long_.begin(), long_.end(), from) - long_.begin();
    std::vector<const ShortestNames::Tokens*> reading;
    for (std::size_t j = first_long; j < long_.size(); ++j) reading.push_back(&names_[long_[j]].tokens);
    const auto found = ShortestNames(reading).matches(labels);
    for (std::size_t j = first_long; j < long_.size(); ++j) place_count_[long_[j]] = 0;
    for (const auto& match : found) ++place_count_[long_[first_long + match.second]];
    std::size_t next = 0;
    for (std::size_t j = first_long; j < long_.size(); ++j) {
      place_begin_[long_[j]] = next;
      next += place_count_[long_[j]];
    }
    places_.resize(found.size());
    std::vector<std::size_t> filled(place_begin_);
    for (std::size_t i = found.size(); i-- > 0;) {  // ascending places
      places_[filled[long_[first_long + found[i].second]]++] = nodes[found[i].first];
    }
  }

  // The ways to find the matches of a name, by the nodes each looks at.
  struct Costs {
    bool none = false;           // a word of the name no node carries
    bool holds_changed = false;  // a word that changed nodes carry
    std::size_t around_least = SIZE_MAX, least_at = 0, around_changed = 0;
  };
  Costs costs(std::uint32_t i) {
    const Name& name = names_[i];
    Costs costs;
    costs.around_changed = place_count_[i];
    for (std::size_t o = 0; o < name.tokens.size(); ++o) {
      const std::uint32_t label = name.tokens[o];
      if (!is_word(label)) continue;
      const std::uint32_t c = class_of_[label];
      const std::size_t unchanged = c == kNil ? 0 : lists_[classes_[c].unchanged].count;
      const std::size_t changed = c == kNil ? 0 : lists_[classes_[c].changed].count;
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
  void rename(std::uint32_t i) {
    const Name& name = names_[i];
    const std::size_t k = name.tokens.size();
    Costs c = costs(i);
    if (c.none) return;
    if (c.holds_changed) {
      // Looking around changed nodes costs up to a new reading of the whole
      // text: past that, read it again.
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
        if (!changed_count_.any(nodes_[p].rank, nodes_[p].rank + k)) starts_.push_back(p);
      }
      if (c.holds_changed) {
        for (std::size_t o = 0; o < k; ++o) {
          if (is_word(name.tokens[o])) look_around(classes_[class_of_[name.tokens[o]]].changed, name, o);
        }
      }
    } else {
      const Class& cls = classes_[class_of_[name.tokens[c.least_at]]];
      look_around(cls.unchanged, name, c.least_at);
      look_around(cls.changed, name, c.least_at);
    }
    std::sort(starts_.begin(), starts_.end(),
              [&](std::uint32_t a, std::uint32_t b) { return nodes_[a].begin < nodes_[b].begin; });
    starts_.erase(std::unique(starts_.begin(), starts_.end()), starts_.end());
    for (const std::uint32_t start : starts_) {
      if (nodes_[start].prev != kGone) replace(start, k, name.sampler);
    }
  }

  // The first node of a match of `name` whose token `at` is `x`, or kNil.
  std::uint32_t match_around(std::uint32_t x, const Name& name, std::size_t at) {
    std::uint32_t start = x;
    for (std::size_t o = at; o-- > 0;) {
      start = nodes_[start].prev;
      if (start == kNil || label(start) != name.tokens[o]) return kNil;
    }
    std::uint32_t last = x;
    for (std::size_t o = at + 1; o < name.tokens.size(); ++o) {
      last = nodes_[last].next;
      if (last == kNil || label(last) != name.tokens[o]) return kNil;
    }
    // A name ending in another character must not run into a word.
    if (!is_word(name.tokens.back()) && nodes_[last].next != kNil && is_word(label(nodes_[last].next))) return kNil;
    return start;
  }

  // The matches around each node of a list that carry the token `at`.
  void look_around(std::uint32_t list, const Name& name, std::size_t at) {
    const std::uint32_t head = lists_[list].head;
    if (head == kNil) return;
    std::uint32_t x = head;
    do {
      const std::uint32_t start = match_around(x, name, at);
      if (start != kNil) starts_.push_back(start);
      x = nodes_[x].cnext;
    } while (x != head);
  }

  // `count` nodes from `start` give way to one node of `sampler`.
  void replace(std::uint32_t start, std::size_t count, std::uint32_t sampler) {
    const std::uint32_t before = nodes_[start].prev;
    std::uint32_t x = start, after = start;
    for (std::size_t i = 0; i < count; ++i, x = after) {
      after = nodes_[x].next;
      if (nodes_[x].rank != kNil) changed_count_.add(nodes_[x].rank);
      remove_from_list(x);
      nodes_[x].prev = kGone;
    }
    const std::uint32_t made = add_node(nodes_[start].begin, sampler);
    const std::uint32_t c = class_for(sampler);
    add_to(classes_[c].changed, made);
    touch(c);
    nodes_[made].prev = before;
    nodes_[made].next = after;
    if (before == kNil) {
      head_ = made;
    } else {
      nodes_[before].next = made;
    }
    if (after != kNil) nodes_[after].prev = made;
    alive_ -= static_cast<std::uint32_t>(count - 1);
    changed_ = true;
  }

  std::string_view text_;
  const Vocabulary& vocabulary_;
  const std::vector<Name>& names_;
  std::vector<std::uint32_t> long_;           // the names of several tokens
  std::vector<std::size_t> tokens_after_;     // their tokens, from each on
  std::uint32_t original_ = 0;
  std::uint32_t head_ = kNil;
  std::uint32_t alive_ = 0;
  bool changed_ = false;
  std::vector<Node> nodes_;
  // Per label, its class or kNil.
  std::vector<std::uint32_t> class_of_;
  std::vector<Class> classes_;
  std::vector<List> lists_;
  std::vector<std::uint32_t> touched_;
  // The last reading: the places of the names by name, and the work done
  // around changed nodes since.
  ChangedCount changed_count_;
  std::vector<std::uint32_t> places_;
  std::vector<std::size_t> place_begin_, place_count_;
  std::size_t work_ = 0;
  std::vector<std::uint32_t> starts_;
};

}  // namespace

bool rename_as_tokens(std::string& body, const std::vector<const ImageEntry*>& names,
                      std::string& spare, LineTracker* lines) {
  const std::string_view text = body;
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
  spare.clear();
  spare.reserve(room_for_rewrite(text.size()));
  if (lines == nullptr) {
    list.write(spare);
  } else {
    TrackedOutput out{spare, *lines};
    list.write(out);
    lines->commit();
  }
  body.swap(spare);
  return true;
}

}  // namespace glsl
