// A set of text positions held as one bit per position, with constant-time
// rank (how many members lie before a position): it gives each member a dense
// index, so per-member facts fit in vectors as small as the set.
#pragma once

#include <cstddef>
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
      total = static_cast<Offset>(total + ones(words_[i]));
    }
    ranks_.back() = total;
  }

  // The index of member `at` among all members in ascending order.
  std::size_t rank(std::size_t at) const {
    const std::uint64_t below = (std::uint64_t{1} << (at % 64)) - 1;
    return ranks_[at / 64] + ones(words_[at / 64] & below);
  }

  std::size_t size() const { return ranks_.back(); }

  // The smallest member at `from` or later, or npos when there is none.
  std::size_t next_member(std::size_t from) const {
    std::size_t word = from / 64;
    if (word >= words_.size()) return npos;
    std::uint64_t bits = words_[word] & (~std::uint64_t{0} << (from % 64));
    while (bits == 0) {
      if (++word == words_.size()) return npos;
      bits = words_[word];
    }
    return word * 64 + lowest_bit(bits);
  }

  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

 private:
  static std::size_t ones(std::uint64_t bits) {
    bits = bits - ((bits >> 1) & 0x5555555555555555ULL);
    bits = (bits & 0x3333333333333333ULL) + ((bits >> 2) & 0x3333333333333333ULL);
    bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
    return static_cast<std::size_t>((bits * 0x0101010101010101ULL) >> 56);
  }

  static std::size_t lowest_bit(std::uint64_t bits) {
    return ones((bits & (~bits + 1)) - 1);
  }

  std::vector<std::uint64_t> words_;
  std::vector<Offset> ranks_;  // members before each word
};

}  // namespace glsl
