// Knuth-Morris-Pratt search with a memchr jump while nothing is matched: each
// text character is fed to the automaton once, whatever the queries.
#include "glsl/word_search.h"

#include <algorithm>
#include <cstring>

namespace glsl {

WordSearch::WordSearch(std::string_view text, std::string_view word)
    : text_(text), word_(word), failure_(word.size(), 0), found_(std::string_view::npos) {
  for (std::size_t i = 1, k = 0; i < word_.size(); ++i) {
    while (k > 0 && word_[i] != word_[k]) k = failure_[k - 1];
    if (word_[i] == word_[k]) ++k;
    failure_[i] = k;
  }
}

std::size_t WordSearch::next(std::size_t from) {
  constexpr std::size_t npos = std::string_view::npos;
  const std::size_t n = text_.size();
  const std::size_t m = word_.size();
  if (m == 0) return from <= n ? from : npos;
  if (found_ != npos && found_ >= from) return found_;
  // An occurrence at `from` or later reads nothing before `from`.
  if (from > scanned_) {
    scanned_ = from;
    state_ = 0;
  }
  while (scanned_ < n) {
    if (state_ == 0) {
      // A short look first: memchr only pays off over longer stretches.
      const std::size_t near = std::min(n, scanned_ + 16);
      while (scanned_ < near && text_[scanned_] != word_[0]) ++scanned_;
      if (scanned_ == n) break;
    }
    if (state_ == 0 && text_[scanned_] != word_[0]) {
      const void* hit = std::memchr(text_.data() + scanned_, word_[0], n - scanned_);
      if (hit == nullptr) {
        scanned_ = n;
        break;
      }
      scanned_ = static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data());
    }
    const char c = text_[scanned_++];
    while (state_ > 0 && word_[state_] != c) state_ = failure_[state_ - 1];
    if (word_[state_] == c) ++state_;
    if (state_ == m) {
      state_ = failure_[m - 1];
      const std::size_t start = scanned_ - m;
      if (start >= from) {
        found_ = start;
        return start;
      }
    }
  }
  found_ = npos;
  return npos;
}

}  // namespace glsl
