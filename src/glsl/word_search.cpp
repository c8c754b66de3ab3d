// Knuth-Morris-Pratt search, as a full automaton for words of ordinary length,
// with a memchr jump over long stretches where nothing is matched: each text
// character is fed to the automaton once, whatever the queries.
#include "glsl/word_search.h"

#include <algorithm>
#include <cstring>

namespace glsl {

WordSearch::WordSearch(std::string_view text, std::string_view word)
    : text_(text), word_(word), failure_(word.size(), 0), found_(std::string_view::npos) {
  const std::size_t m = word_.size();
  for (std::size_t i = 1, k = 0; i < m; ++i) {
    while (k > 0 && word_[i] != word_[k]) k = failure_[k - 1];
    if (word_[i] == word_[k]) ++k;
    failure_[i] = k;
  }
  if (m == 0 || m > kTableWords) return;
  // Row j: the state after one more character once j characters matched; row
  // m continues from the longest border of the whole word.
  table_.assign((m + 1) * 256, 0);
  const auto row = [&](std::size_t j) { return table_.begin() + static_cast<std::ptrdiff_t>(j * 256); };
  row(0)[static_cast<unsigned char>(word_[0])] = 1;
  for (std::size_t j = 1, restart = 0; j <= m; ++j) {
    std::copy(row(restart), row(restart) + 256, row(j));
    if (j == m) break;
    row(j)[static_cast<unsigned char>(word_[j])] = static_cast<std::uint8_t>(j + 1);
    restart = row(restart)[static_cast<unsigned char>(word_[j])];
  }
}

std::size_t WordSearch::next(std::size_t from) {
  constexpr std::size_t npos = std::string_view::npos;
  const std::size_t n = text_.size();
  if (word_.empty()) return from <= n ? from : npos;
  if (found_ != npos && found_ >= from) return found_;
  // An occurrence at `from` or later reads nothing before `from`.
  if (from > scanned_) {
    scanned_ = from;
    state_ = 0;
  }
  for (;;) {
    const std::size_t end = table_.empty() ? next_by_failure() : next_by_table();
    if (end == npos) return found_ = npos;
    if (end - word_.size() >= from) return found_ = end - word_.size();
  }
}

// Both give the end of the next occurrence, or npos at the end of the text.
std::size_t WordSearch::next_by_table() {
  const std::size_t n = text_.size();
  const std::size_t m = word_.size();
  const unsigned char* text = reinterpret_cast<const unsigned char*>(text_.data());
  const std::uint8_t* table = table_.data();
  std::size_t state = state_;
  std::size_t at = scanned_;
  std::size_t idle = 0;  // characters read in state 0
  while (at < n) {
    if (state != 0) {
      idle = 0;
    } else if (++idle > 16) {
      idle = 0;
      const void* hit = std::memchr(text + at, word_[0], n - at);
      if (hit == nullptr) {
        at = n;
        break;
      }
      at = static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - text);
    }
    state = table[state * 256 + text[at++]];
    if (state == m) {
      state_ = state;
      scanned_ = at;
      return at;
    }
  }
  state_ = state;
  scanned_ = at;
  return std::string_view::npos;
}

std::size_t WordSearch::next_by_failure() {
  const std::size_t n = text_.size();
  const std::size_t m = word_.size();
  if (state_ == m) state_ = failure_[m - 1];
  while (scanned_ < n) {
    if (state_ == 0) {
      const void* hit = std::memchr(text_.data() + scanned_, word_[0], n - scanned_);
      if (hit == nullptr) break;
      scanned_ = static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data());
    }
    const char c = text_[scanned_++];
    while (state_ > 0 && word_[state_] != c) state_ = failure_[state_ - 1];
    if (word_[state_] == c) ++state_;
    if (state_ == m) return scanned_;
  }
  scanned_ = n;
  return std::string_view::npos;
}

}  // namespace glsl
