// Finds the occurrences of one word in a text, left to right, in time linear
// in the text whatever the word, so that long image names or names with
// repeated parts cannot make a rewrite quadratic.
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
  std::size_t next_by_anchor(std::size_t from);
  std::size_t next_by_automaton(std::size_t from);
  void build_failure();

  std::string_view text_;
  std::string_view word_;
  // First the word is looked for by its rarest-looking character and
  // compared in place; when the comparisons add up to more than the text
  // could justify, Knuth-Morris-Pratt takes over from there.
  std::size_t anchor_ = 0;       // offset in the word of the character jumped to
  std::size_t candidate_ = 0;    // next start that the anchor search examines
  std::size_t compared_ = 0;     // characters compared by the anchor search
  bool by_anchor_ = true;
  std::vector<std::size_t> failure_;  // longest proper border of each prefix
  std::size_t scanned_ = 0;           // text characters fed to the automaton
  std::size_t state_ = 0;             // length of the word prefix just matched
  std::size_t found_;                 // last occurrence reported
};

}  // namespace glsl
