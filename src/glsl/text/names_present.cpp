// The automaton of the names: a trie with failure links, built breadth first;
// a reading marks every state it reaches and then every name ending along
// the failure links of the marked states, each state once.
//
// Example: the names "he", "she" and "hers" over "ushers": the reading
// reaches the states "s", "sh", "she", "her" (through the failure link of
// "she" to "he") and "hers"; then "she" and, along its failure link, "he"
// are marked, and "hers": all three occur, each marked once however many
// times it does.
#include "glsl/text/names_present.h"

#include <algorithm>
#include <deque>
#include <unordered_set>
#include <utility>

namespace glsl {
namespace {

std::uint64_t key(std::uint32_t state, unsigned char c) {
  return (static_cast<std::uint64_t>(state) << 8) | c;
}

}  // namespace

NamesPresent::NamesPresent(const std::vector<std::string_view>& names)
    : states_(1) {
  std::vector<std::pair<std::uint32_t, unsigned char>> arrival(1);  // parent and character
  for (std::uint32_t i = 0; i < names.size(); ++i) {
    std::uint32_t state = 0;
    if (!names[i].empty()) starts_[static_cast<unsigned char>(names[i][0])] = true;
    for (char ch : names[i]) {
      const unsigned char c = static_cast<unsigned char>(ch);
      std::uint32_t next = child(state, c);
      if (next == 0) {
        next = static_cast<std::uint32_t>(states_.size());
        states_.emplace_back();
        arrival.emplace_back(state, c);
        edges_.emplace(key(state, c), next);
      }
      state = next;
    }
    states_[state].names.push_back(i);
  }
  // Breadth first: a failure link points to a shallower state.
  std::vector<std::vector<std::uint32_t>> children(states_.size());
  for (std::uint32_t v = 1; v < states_.size(); ++v) children[arrival[v].first].push_back(v);
  std::deque<std::uint32_t> queue(children[0].begin(), children[0].end());
  while (!queue.empty()) {
    const std::uint32_t v = queue.front();
    queue.pop_front();
    const auto [parent, c] = arrival[v];
    if (parent != 0) {
      std::uint32_t f = states_[parent].fail;
      while (f != 0 && child(f, c) == 0) f = states_[f].fail;
      states_[v].fail = child(f, c);
    }
    const State& link = states_[states_[v].fail];
    states_[v].output = !link.names.empty() ? states_[v].fail : link.output;
    for (std::uint32_t w : children[v]) queue.push_back(w);
  }
}

std::uint32_t NamesPresent::child(std::uint32_t state, unsigned char c) const {
  const auto found = edges_.find(key(state, c));
  return found == edges_.end() ? 0 : found->second;
}

std::vector<std::uint32_t> NamesPresent::in(std::string_view text) const {
  std::unordered_set<std::uint32_t> listed;
  std::vector<std::uint32_t> present;
  const auto list = [&](std::uint32_t v) {
    // Along the names that end here, down to one listed before.
    for (std::uint32_t s = v; listed.insert(s).second; s = states_[s].output) {
      present.insert(present.end(), states_[s].names.begin(), states_[s].names.end());
      if (s == 0) break;
    }
  };
  list(0);  // the empty name
  std::uint32_t state = 0;
  for (char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (state == 0 && !starts_[c]) continue;
    while (state != 0 && child(state, c) == 0) state = states_[state].fail;
    state = child(state, c);
    if (state != 0 && (!states_[state].names.empty() || states_[state].output != 0)) list(state);
  }
  std::sort(present.begin(), present.end());
  return present;
}

}  // namespace glsl
