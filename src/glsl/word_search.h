// Finds the occurrences of one word in a text, left to right, in time linear
// in the text whatever the word (Knuth-Morris-Pratt), so that long image names
// or names with repeated parts cannot make a rewrite quadratic.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace glsl {

class WordSearch {
 public:
  WordSearch(std::string_view text, std::string_view word);

  // The first occurrence starting at `from` or later, or npos. Successive
  // calls must not decrease `from`.
  std::size_t next(std::size_t from);

 private:
  std::string_view text_;
  std::string_view word_;
  std::vector<std::size_t> failure_;  // longest proper border of each prefix
  std::size_t scanned_ = 0;           // text characters fed to the automaton
  std::size_t state_ = 0;             // length of the word prefix just matched
  std::size_t found_;                 // last occurrence reported
};

}  // namespace glsl
