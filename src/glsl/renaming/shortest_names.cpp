// The automaton of the reversed names: a trie with failure links. Each state
// also keeps the shortest name that matches whenever its piece of text does,
// so a reading reports one name per place without walking the failure
// links.
#include "glsl/renaming/shortest_names.h"

#include "glsl/renaming/tokens.h"
#include "glsl/text/index.h"

namespace glsl {
namespace {

std::uint64_t key(std::uint32_t state, std::uint32_t label) {
  return (static_cast<std::uint64_t>(state) << 32) | label;
}

}  // namespace

ShortestNames::ShortestNames(const std::vector<const Tokens*>& names) : names_(names) {
  states_.push_back({0, 0, 0, 0, kNone, kNone, 0, 0});
  for (std::uint32_t i = 0; i < names.size(); ++i) {
    const Tokens& name = *names[i];
    if (ends_.size() <= name.back()) ends_.resize(name.back() + 1, false);
    ends_[name.back()] = true;
    std::uint32_t state = 0;
    for (std::size_t j = name.size(); j-- > 0;) {
      std::uint32_t next = child(state, name[j]);
      if (next == kNone) {
        next = static_cast<std::uint32_t>(states_.size());
        states_.push_back({state, name[j], 0, states_[state].depth + 1, kNone, kNone, i,
                           static_cast<std::uint32_t>(j)});
        edges_.emplace(key(state, name[j]), next);
      }
      state = next;
    }
    states_[state].name = i;
  }
  link();
}

std::vector<std::pair<std::uint32_t, std::uint32_t>> ShortestNames::matches(const Tokens& text) const {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> found;
  const std::size_t n = text.size();
  std::uint32_t state = 0;
  for (std::size_t at = n; at-- > 0;) {
    const std::uint32_t label = text[at];
    if (state == 0 && (label >= ends_.size() || !ends_[label])) continue;
    state = step(state, label);
    // A name opens with a word, and no word stands before a word.
    if (state == 0 || !is_word(label)) continue;
    const State& s = states_[state];
    std::uint32_t name = s.best;
    if (name == kNone && s.name != kNone) {
      const std::size_t end = at + s.depth;
      if (end == n || !is_word(text[end])) name = s.name;
    }
    if (name != kNone) found.emplace_back(static_cast<std::uint32_t>(at), name);
  }
  return found;
}

std::uint32_t ShortestNames::child(std::uint32_t state, std::uint32_t label) const {
  const auto found = edges_.find(key(state, label));
  return found == edges_.end() ? kNone : found->second;
}

std::uint32_t ShortestNames::step(std::uint32_t state, std::uint32_t label) const {
  for (;;) {
    const std::uint32_t next = child(state, label);
    if (next != kNone) return next;
    if (state == 0) return 0;
    state = states_[state].fail;
  }
}

// Failure links and the shortest names, shallow states first. A shorter
// name whose piece is a state's failure link (or that link's own best)
// matches whenever the state's piece does, when the token after it in the
// piece is not a word.
void ShortestNames::link() {
  std::vector<std::uint32_t> first(states_.size() + 1, 0);  // states by depth
  for (const State& s : states_) ++first[s.depth + 1];
  for (std::size_t d = 1; d < first.size(); ++d) first[d] += first[d - 1];
  std::vector<std::uint32_t> order(states_.size());
  for (std::uint32_t v = 0; v < states_.size(); ++v) order[first[states_[v].depth]++] = v;
  for (std::uint32_t v : order) {
    State& s = states_[v];
    if (s.depth <= 1) continue;
    std::uint32_t f = states_[s.parent].fail;
    std::uint32_t target = child(f, s.label);
    while (target == kNone && f != 0) {
      f = states_[f].fail;
      target = child(f, s.label);
    }
    s.fail = target == kNone ? 0 : target;
    if (s.fail == 0) continue;
    const State& z = states_[s.fail];
    if (z.best != kNone) {
      s.best = z.best;
    } else if (z.name != kNone && !is_word((*names_[s.from])[s.offset + z.depth])) {
      s.best = z.name;
    }
  }
}

}  // namespace glsl
