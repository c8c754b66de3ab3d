// A set of text positions held as one bit per position, with constant-time
// rank (how many members lie before a position): it gives each member a dense
// index, so per-member facts fit in vectors as small as the set.
#pragma once

#include <cstddef>
#include <bitset>
#include <cstdint>
#include <vector>

namespace glsl {

template <class Offset>
class PositionSet {
 public:
  // Positions 0 to `last` inclusive can be members.
  explicit PositionSet(std::size_t last) : words_(last / 64 + 1, 0) {}

  void insert(std::size_t at) { words_[at / 64] |= std::uint64_t{1} << (at % 64); }

  bool contains(std::size_t at) const { return (words_[at / 64] >> (at % 64)) & 1; }

  // Call once after the last insert, before rank() or size().
  void seal() {
    ranks_.resize(words_.size() + 1);
    Offset total = 0;
    for (std::size_t i = 0; i < words_.size(); ++i) {
      ranks_[i] = total;
      total = static_cast<Offset>(total + std::bitset<64>(words_[i]).count());
    }
    ranks_.back() = total;
  }

  // The index of member `at` among all members in ascending order.
  std::size_t rank(std::size_t at) const {
    const std::uint64_t below = (std::uint64_t{1} << (at % 64)) - 1;
    return ranks_[at / 64] + std::bitset<64>(words_[at / 64] & below).count();
  }

  std::size_t size() const { return ranks_.back(); }

 private:
  std::vector<std::uint64_t> words_;
  std::vector<Offset> ranks_;  // members before each word
};

}  // namespace glsl
