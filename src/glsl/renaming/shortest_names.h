// The image names of several tokens in one automaton of their reversed
// token sequences: fed a text's tokens from the end, it tells at each token
// the shortest name that matches there (its tokens equal the text's from
// there on and, when it ends in a character, no word follows). The names
// that match at one place are prefixes of each other, so the shortest one
// is the first in the table's order.
//
// Example: the names "a.b" and "a.b.c" over the tokens of "a.b.c": at the
// first "a" both match and "a.b" is reported; at the second token, ".",
// no name starts.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

namespace glsl {

class ShortestNames {
 public:
  using Tokens = std::vector<std::uint32_t>;  // labels (tokens.h)

  // `names` (each opening with a word) must outlive this object.
  explicit ShortestNames(const std::vector<const Tokens*>& names);

  // The shortest name (its index in `names`) matching at each position of
  // `text`, as (position, name) from the end back.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> matches(const Tokens& text) const;

 private:
  // A state is a piece of text read so far, in text order the start of the
  // text (the end of a name): name `from`, from its token `offset` on,
  // `depth` tokens long.
  struct State {
    std::uint32_t parent;
    std::uint32_t label;
    std::uint32_t fail;
    std::uint32_t depth;
    std::uint32_t name;  // the name this piece is whole
    std::uint32_t best;  // the shortest shorter name that matches whenever this piece does
    std::uint32_t from;
    std::uint32_t offset;
  };

  std::uint32_t child(std::uint32_t state, std::uint32_t label) const;
  std::uint32_t step(std::uint32_t state, std::uint32_t label) const;
  void link();

  const std::vector<const Tokens*>& names_;
  std::vector<bool> ends_;  // the last labels of the names
  std::vector<State> states_;
  std::unordered_map<std::uint64_t, std::uint32_t> edges_;
};

}  // namespace glsl
