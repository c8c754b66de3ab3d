// Sums over a stretch of positions that change one at a time, each step in
// time logarithmic in the count (a binary indexed tree).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace glsl {

template <class Value = std::int64_t>
class RangeSums {
 public:
  explicit RangeSums(std::size_t size = 0) : tree_(size + 1, 0) {}

  void add(std::size_t at, Value value) {
    for (std::size_t i = at + 1; i < tree_.size(); i += i & (~i + 1)) tree_[i] += value;
  }
  // The sum over [begin, end).
  Value sum(std::size_t begin, std::size_t end) const { return prefix(end) - prefix(begin); }

 private:
  Value prefix(std::size_t end) const {
    Value total = 0;
    for (std::size_t i = end; i > 0; i -= i & (~i + 1)) total += tree_[i];
    return total;
  }
  std::vector<Value> tree_;
};

}  // namespace glsl
