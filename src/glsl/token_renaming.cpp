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

// How many tokens of the original text have changed, by position (a
// Fenwick tree).
class ChangedCount {
 public:
  explicit ChangedCount(std::size_t size) : tree_(size + 1, 0) {}
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

// A name as tokens, with where the automaton found it in the original text.
struct Name {
  std::vector<std::uint32_t> tokens;
  std::uint32_t sampler;
  const std::uint32_t* places;  // original token positions, ascending
  std::size_t place_count;
};

// The text as a list of tokens under renaming. A node is a token of the
// original text (node i is token i) or a sampler written over a run of them.
class TokenList {
 public:
  // Tokens that no name holds stand together as one node, labelled by the
  // first: they never match, and only whether the first is a word matters.
  TokenList(std::string_view text, const Vocabulary& vocabulary, const bool (&held)[256])
      : text_(text), vocabulary_(vocabulary) {
    class_of_.assign(vocabulary.labels(), kNil);
    bool joining = false;
    for_each_token(text, [&](std::size_t begin, std::size_t end) {
      const std::uint32_t label = vocabulary.label_of(text, begin, end);
      const bool holds = is_word(label) ? label >= kFirstWord : held[label];
      if (!holds && joining) {
        end_.back() = static_cast<std::uint32_t>(end);
        return;
      }
      joining = !holds;
      add_node(static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end),
               static_cast<std::uint32_t>(order_.size()), label, false);
    });
    original_ = static_cast<std::uint32_t>(order_.size());
    if (original_ > 0) next_[original_ - 1] = kNil;
    head_ = original_ > 0 ? 0 : kNil;
    changed_count_ = ChangedCount(original_);
  }

  // The labels of the nodes as they are now.
  std::vector<std::uint32_t> labels() {
    std::vector<std::uint32_t> all;
    for (std::uint32_t x = head_; x != kNil; x = next_[x]) all.push_back(label(x));
    return all;
  }

  bool changed() const { return changed_any_; }

  // Every token that carries `word` becomes `sampler`.
  void relabel(std::uint32_t word, std::uint32_t sampler) {
    const std::uint32_t c = class_of_[word];
    if (c == kNil) return;
    class_of_[word] = kNil;
    Class& cls = classes_[c];
    if (cls.unchanged_count + cls.changed_count > 0) changed_any_ = true;
    for (std::uint32_t x = cls.unchanged, i = 0; i < cls.unchanged_count; x = cnext_[x], ++i) {
      changed_[x] = true;
      changed_count_.add(x);
    }
    splice(cls.changed, cls.unchanged);
    cls.changed_count += cls.unchanged_count;
    cls.unchanged_count = 0;
    const std::uint32_t d = class_of_[sampler];
    const std::uint32_t root = d == kNil ? c : unite(c, d);
    classes_[root].label = sampler;
    class_of_[sampler] = root;
  }

  // The matches of `name` in the text as it is, by their first node in text
  // order; then each taken unless it overlaps one taken before.
  void rename(const Name& name) {
    const std::size_t k = name.tokens.size();
    // The cost of each way to find the matches, in tokens looked at.
    std::size_t around_least = SIZE_MAX, least_at = 0;
    std::size_t around_changed = name.place_count;
    bool holds_changed = false;
    for (std::size_t o = 0; o < k; ++o) {
      const std::uint32_t label = name.tokens[o];
      if (!is_word(label)) continue;
      const std::uint32_t c = class_of_[label];
      if (c == kNil) return;  // a word no token carries: no match
      const Class& cls = classes_[c];
      if (cls.unchanged_count + cls.changed_count < around_least) {
        around_least = cls.unchanged_count + cls.changed_count;
        least_at = o;
      }
      around_changed += cls.changed_count;
      holds_changed = holds_changed || cls.changed_count > 0;
    }
    starts_.clear();
    if (!holds_changed || around_changed <= around_least) {
      for (std::size_t i = 0; i < name.place_count; ++i) {
        const std::uint32_t p = name.places[i];
        if (!changed_count_.any(p, p + k)) starts_.push_back(p);
      }
      if (holds_changed) {
        for (std::size_t o = 0; o < k; ++o) {
          if (!is_word(name.tokens[o])) continue;
          const Class& cls = classes_[class_of_[name.tokens[o]]];
          look_around(cls.changed, cls.changed_count, name, o);
        }
      }
    } else {
      const Class& cls = classes_[class_of_[name.tokens[least_at]]];
      look_around(cls.unchanged, cls.unchanged_count, name, least_at);
      look_around(cls.changed, cls.changed_count, name, least_at);
    }
    std::sort(starts_.begin(), starts_.end(),
              [&](std::uint32_t a, std::uint32_t b) { return order_[a] < order_[b]; });
    starts_.erase(std::unique(starts_.begin(), starts_.end()), starts_.end());
    for (const std::uint32_t start : starts_) {
      if (!gone_[start]) replace(start, k, name.sampler);
    }
  }

  // The text with each changed token's sampler in place of its stretch.
  template <class Out>
  void write(Out& out) const {
    std::size_t copied = 0;
    for (std::uint32_t x = head_; x != kNil; x = next_[x]) {
      if (!changed_[x]) continue;
      put_copy(out, text_, copied, begin_[x]);
      put_made_for(out, vocabulary_.word(label(x)), begin_[x]);
      copied = end_[x];
    }
    put_copy(out, text_, copied, text_.size());
  }

 private:
  // The tokens that carry one label. Only the root of a union is used.
  struct Class {
    std::uint32_t parent;
    std::uint32_t label;
    std::uint32_t unchanged = kNil, changed = kNil;  // circular lists, by any member
    std::uint32_t unchanged_count = 0, changed_count = 0;
  };

  void add_node(std::uint32_t begin, std::uint32_t end, std::uint32_t order, std::uint32_t label,
                bool changed) {
    const std::uint32_t x = static_cast<std::uint32_t>(begin_.size());
    begin_.push_back(begin);
    end_.push_back(end);
    order_.push_back(order);
    prev_.push_back(x == 0 ? kNil : x - 1);
    next_.push_back(x + 1);
    changed_.push_back(changed);
    gone_.push_back(false);
    cprev_.push_back(kNil);
    cnext_.push_back(kNil);
    fixed_.push_back(label);
    cls_.push_back(kNil);
    if (label < kFirstWord) return;
    std::uint32_t c = class_of_[label];
    if (c == kNil) {
      c = class_of_[label] = static_cast<std::uint32_t>(classes_.size());
      classes_.push_back({c, label});
    }
    cls_[x] = c;
    Class& cls = classes_[c];
    push(changed ? cls.changed : cls.unchanged, x);
    ++(changed ? cls.changed_count : cls.unchanged_count);
  }

  std::uint32_t find(std::uint32_t c) {
    std::uint32_t root = c;
    while (classes_[root].parent != root) root = classes_[root].parent;
    while (classes_[c].parent != root) {
      const std::uint32_t up = classes_[c].parent;
      classes_[c].parent = root;
      c = up;
    }
    return root;
  }

  std::uint32_t label(std::uint32_t x) {
    return cls_[x] == kNil ? fixed_[x] : classes_[find(cls_[x])].label;
  }
  std::uint32_t label(std::uint32_t x) const {
    std::uint32_t c = cls_[x];
    if (c == kNil) return fixed_[x];
    while (classes_[c].parent != c) c = classes_[c].parent;
    return classes_[c].label;
  }

  std::uint32_t unite(std::uint32_t a, std::uint32_t b) {
    if (classes_[a].unchanged_count + classes_[a].changed_count <
        classes_[b].unchanged_count + classes_[b].changed_count) {
      std::swap(a, b);
    }
    Class& into = classes_[a];
    Class& from = classes_[b];
    from.parent = a;
    splice(into.unchanged, from.unchanged);
    splice(into.changed, from.changed);
    into.unchanged_count += from.unchanged_count;
    into.changed_count += from.changed_count;
    from.unchanged_count = from.changed_count = 0;
    return a;
  }

  // Circular lists of the nodes of a class.
  void push(std::uint32_t& head, std::uint32_t x) {
    if (head == kNil) {
      head = cnext_[x] = cprev_[x] = x;
      return;
    }
    const std::uint32_t tail = cprev_[head];
    cnext_[tail] = x;
    cprev_[x] = tail;
    cnext_[x] = head;
    cprev_[head] = x;
  }
  void unlink(std::uint32_t& head, std::uint32_t x) {
    if (cnext_[x] == x) {
      head = kNil;
      return;
    }
    cnext_[cprev_[x]] = cnext_[x];
    cprev_[cnext_[x]] = cprev_[x];
    if (head == x) head = cnext_[x];
  }
  void splice(std::uint32_t& into, std::uint32_t& from) {
    if (from == kNil) return;
    if (into != kNil) {
      const std::uint32_t into_tail = cprev_[into], from_tail = cprev_[from];
      cnext_[into_tail] = from;
      cprev_[from] = into_tail;
      cnext_[from_tail] = into;
      cprev_[into] = from_tail;
    } else {
      into = from;
    }
    from = kNil;
  }

  // The first node of a match of `name` whose token `at` is `x`, or kNil.
  std::uint32_t match_around(std::uint32_t x, const Name& name, std::size_t at) {
    std::uint32_t start = x;
    for (std::size_t o = at; o-- > 0;) {
      start = prev_[start];
      if (start == kNil || label(start) != name.tokens[o]) return kNil;
    }
    std::uint32_t last = x;
    for (std::size_t o = at + 1; o < name.tokens.size(); ++o) {
      last = next_[last];
      if (last == kNil || label(last) != name.tokens[o]) return kNil;
    }
    // A name ending in another character must not run into a word.
    if (!is_word(name.tokens.back()) && next_[last] != kNil && is_word(label(next_[last]))) return kNil;
    return start;
  }

  void look_around(std::uint32_t head, std::uint32_t count, const Name& name, std::size_t at) {
    for (std::uint32_t x = head, i = 0; i < count; x = cnext_[x], ++i) {
      const std::uint32_t start = match_around(x, name, at);
      if (start != kNil) starts_.push_back(start);
    }
  }

  // `count` nodes from `start` give way to one node of `sampler`.
  void replace(std::uint32_t start, std::size_t count, std::uint32_t sampler) {
    const std::uint32_t before = prev_[start];
    std::uint32_t x = start, after = start;
    std::uint32_t end = 0;
    for (std::size_t i = 0; i < count; ++i, x = after) {
      after = next_[x];
      end = end_[x];
      gone_[x] = true;
      if (x < original_ && !changed_[x]) changed_count_.add(x);
      if (cls_[x] == kNil) continue;
      Class& cls = classes_[find(cls_[x])];
      unlink(changed_[x] ? cls.changed : cls.unchanged, x);
      --(changed_[x] ? cls.changed_count : cls.unchanged_count);
    }
    const std::uint32_t made = static_cast<std::uint32_t>(begin_.size());
    add_node(begin_[start], end, order_[start], sampler, true);
    prev_[made] = before;
    next_[made] = after;
    if (before == kNil) {
      head_ = made;
    } else {
      next_[before] = made;
    }
    if (after != kNil) prev_[after] = made;
    changed_any_ = true;
  }

  std::string_view text_;
  const Vocabulary& vocabulary_;
  std::uint32_t original_ = 0;
  std::uint32_t head_ = kNil;
  bool changed_any_ = false;
  // Per node.
  std::vector<std::uint32_t> begin_, end_;  // the stretch of the original text it stands for
  std::vector<std::uint32_t> order_;        // the original position of its first token
  std::vector<std::uint32_t> prev_, next_;  // the list of the text
  std::vector<bool> changed_, gone_;
  std::vector<std::uint32_t> cprev_, cnext_;  // the list of its class
  std::vector<std::uint32_t> fixed_;          // the label of a token without a class
  std::vector<std::uint32_t> cls_;            // its class (any member of the union), or kNil
  // Per label, its class (a root) or kNil.
  std::vector<std::uint32_t> class_of_;
  std::vector<Class> classes_;
  ChangedCount changed_count_{0};
  std::vector<std::uint32_t> starts_;
};

}  // namespace

bool rename_as_tokens(std::string& body, const std::vector<const ImageEntry*>& names,
                      std::string& spare, LineTracker* lines) {
  const std::string_view text = body;
  Vocabulary vocabulary;
  std::vector<Name> tokens(names.size());
  bool held[256] = {};  // the characters that names hold
  std::vector<const ShortestNames::Tokens*> long_names;  // of several tokens
  std::vector<std::uint32_t> long_index;
  for (std::uint32_t i = 0; i < names.size(); ++i) {
    Name& name = tokens[i];
    name.tokens = vocabulary.add_tokens(names[i]->first);
    name.sampler = vocabulary.add_sampler(names[i]->second);
    for (const std::uint32_t label : name.tokens) {
      if (!is_word(label)) held[label] = true;
    }
    if (name.tokens.size() > 1) {
      long_names.push_back(&name.tokens);
      long_index.push_back(i);
    }
  }
  TokenList list(text, vocabulary, held);

  // The places of each name of several tokens in the original text, by name.
  const auto found = ShortestNames(long_names).matches(list.labels());
  std::vector<std::size_t> first(names.size() + 1, 0);
  for (const auto& match : found) ++first[long_index[match.second] + 1];
  for (std::size_t i = 0; i < names.size(); ++i) first[i + 1] += first[i];
  std::vector<std::uint32_t> places(found.size());
  std::vector<std::size_t> filled(first.begin(), first.end() - 1);
  for (std::size_t i = found.size(); i-- > 0;) {  // ascending places
    places[filled[long_index[found[i].second]]++] = found[i].first;
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    tokens[i].places = places.data() + first[i];
    tokens[i].place_count = first[i + 1] - first[i];
  }

  for (const Name& name : tokens) {
    if (name.tokens.size() == 1) {
      list.relabel(name.tokens[0], name.sampler);
    } else {
      list.rename(name);
    }
  }
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
