// The automaton of the reversed names: a trie with failure links. Each state
// also keeps the shortest name that is a whole word whenever its piece of
// text is, so a reading reports one name per place without walking the
// failure links.
#include "glsl/shortest_names.h"

#include <algorithm>

#include "glsl/chars.h"

namespace glsl {
namespace {

constexpr std::uint32_t kNone = UINT32_MAX;

std::uint64_t key(std::uint32_t state, unsigned char c) {
  return (static_cast<std::uint64_t>(state) << 8) | c;
}

}  // namespace

ShortestNames::ShortestNames(const std::vector<const ImageEntry*>& names) : names_(names) {
  states_.push_back({0, 0, 0, 0, kNone, kNone, 0, 0});
  for (std::uint32_t i = 0; i < names.size(); ++i) {
    const std::string& name = names[i]->first;
    ends_[static_cast<unsigned char>(name.back())] = true;
    std::uint32_t state = 0;
    for (std::size_t j = name.size(); j-- > 0;) {
      const unsigned char c = static_cast<unsigned char>(name[j]);
      std::uint32_t next = child(state, c);
      if (next == kNone) {
        next = static_cast<std::uint32_t>(states_.size());
        states_.push_back({state, c, 0, states_[state].depth + 1, kNone, kNone, i,
                           static_cast<std::uint32_t>(j)});
        edges_.emplace(key(state, c), next);
      }
      state = next;
    }
    states_[state].name = i;
  }
  link();
}

std::vector<std::pair<std::size_t, std::uint32_t>> ShortestNames::matches(std::string_view text) const {
  std::vector<std::pair<std::size_t, std::uint32_t>> found;
  const std::size_t n = text.size();
  std::uint32_t state = 0;
  for (std::size_t at = n; at-- > 0;) {
    const unsigned char c = static_cast<unsigned char>(text[at]);
    if (state == 0 && !ends_[c]) continue;
    state = step(state, c);
    if (state == 0 || !is_name_start_char(text[at])) continue;
    if (at > 0 && is_identifier_char(text[at - 1])) continue;
    const State& s = states_[state];
    std::uint32_t name = s.best;
    if (name == kNone && s.name != kNone) {
      const std::size_t end = at + s.depth;
      if (end == n || !is_identifier_char(text[end])) name = s.name;
    }
    if (name != kNone) found.emplace_back(at, name);
  }
  return found;
}

std::uint32_t ShortestNames::child(std::uint32_t state, unsigned char c) const {
  const auto found = edges_.find(key(state, c));
  return found == edges_.end() ? kNone : found->second;
}

std::uint32_t ShortestNames::step(std::uint32_t state, unsigned char c) const {
  for (;;) {
    const std::uint32_t next = child(state, c);
    if (next != kNone) return next;
    if (state == 0) return 0;
    state = states_[state].fail;
  }
}

char ShortestNames::char_of(const State& s, std::size_t i) const {
  return names_[s.from]->first[s.offset + i];
}

// Failure links and the shortest names, shallow states first. A shorter
// name whose reading is a state's failure link (or that link's own best)
// matches whenever the state's piece does, when the character after it in
// the piece is no identifier character.
void ShortestNames::link() {
  std::vector<std::uint32_t> order(states_.size());
  for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    return states_[a].depth < states_[b].depth;
  });
  for (std::uint32_t v : order) {
    State& s = states_[v];
    if (s.depth <= 1) continue;
    std::uint32_t f = states_[s.parent].fail;
    std::uint32_t target = child(f, s.c);
    while (target == kNone && f != 0) {
      f = states_[f].fail;
      target = child(f, s.c);
    }
    s.fail = target == kNone ? 0 : target;
    const State& z = states_[s.fail];
    if (s.fail == 0) continue;
    if (z.best != kNone) {
      s.best = z.best;
    } else if (z.name != kNone && !is_identifier_char(char_of(s, z.depth))) {
      s.best = z.name;
    }
  }
}

}  // namespace glsl
