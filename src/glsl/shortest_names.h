// The image names in one automaton of their reversed spellings: fed a text
// from its end, it tells at each place the shortest name that matches there
// as a whole word (starting at a letter or '_' that no identifier character
// precedes, and followed by no identifier character). The names that match
// at one place are prefixes of each other, so the shortest one is the first
// in the table's order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace glsl {

// An entry of the image table: name -> sampler.
using ImageEntry = std::pair<const std::string, std::string>;

class ShortestNames {
 public:
  // `names` (none empty) must outlive this object.
  explicit ShortestNames(const std::vector<const ImageEntry*>& names);

  // The shortest name (its index in `names`) matching at each place, as
  // (place, name) from the end of `text` back.
  std::vector<std::pair<std::size_t, std::uint32_t>> matches(std::string_view text) const;

 private:
  // A state is a piece of text read so far, in text order the start of
  // `text` (the end of a name): name `from`, from its character `offset` on,
  // `depth` characters long.
  struct State {
    std::uint32_t parent = 0;
    unsigned char c = 0;
    std::uint32_t fail = 0;
    std::uint32_t depth = 0;
    std::uint32_t name = UINT32_MAX;  // the name this piece is whole
    std::uint32_t best = UINT32_MAX;  // the shortest shorter name that matches whenever this piece does
    std::uint32_t from = 0;
    std::uint32_t offset = 0;
  };

  std::uint32_t child(std::uint32_t state, unsigned char c) const;
  std::uint32_t step(std::uint32_t state, unsigned char c) const;
  char char_of(const State& s, std::size_t i) const;
  void link();

  const std::vector<const ImageEntry*>& names_;
  bool ends_[256] = {};  // the last characters of the names
  std::vector<State> states_;
  std::unordered_map<std::uint64_t, std::uint32_t> edges_;
};

}  // namespace glsl
