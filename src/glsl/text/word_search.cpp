// Word search in two gears: a memchr jump to a rare character of the word and
// an in-place comparison, which is fast on GLSL text, and Knuth-Morris-Pratt,
// which feeds each text character to its automaton once and so bounds the
// time when the comparisons stop paying (text full of near-misses).
//
// Example: "IMG_SIZE" is looked for by one of its capitals, rare in shader
// code, and each hit compared in place. In a text of a million "a" the word
// "aaab" has no rare character: the comparisons would cost about three per
// position, and once they pass what the text can justify, the automaton
// reads each remaining character once.
#include "glsl/text/word_search.h"

#include <cstring>

namespace glsl {
namespace {

// Lower is rarer in shader code: capitals and digits stand out among the
// lower-case letters, blanks and operators.
constexpr int commonness_of(char c) {
  if (c >= 'A' && c <= 'Z') return c == 'I' || c == 'E' ? 1 : 0;
  if (c >= '0' && c <= '9') return 2;
  if (c >= 'a' && c <= 'z') return 4;
  return c == ' ' || c == '_' || c == '(' || c == ')' || c == '.' || c == ',' ? 5 : 3;
}

// The same, looked up by byte.
struct Commonness {
  int of[256] = {};
  constexpr Commonness() {
    for (int c = 0; c < 256; ++c) of[c] = commonness_of(static_cast<char>(c));
  }
};
constexpr Commonness kCommonness;

int commonness(char c) { return kCommonness.of[static_cast<unsigned char>(c)]; }

}  // namespace

WordSearch::WordSearch(std::string_view text, std::string_view word)
    : text_(text), word_(word), found_(std::string_view::npos) {
  int rarest = word_.empty() ? 0 : commonness(word_[0]);
  for (std::size_t i = 1; i < word_.size(); ++i) {
    const int here = commonness(word_[i]);
    if (here < rarest) {
      anchor_ = i;
      rarest = here;
    }
  }
}

// The automaton's table, made only when the anchor search gives up: most
// searches never need it.
void WordSearch::build_failure() {
  failure_.assign(word_.size(), 0);
  for (std::size_t i = 1, k = 0; i < word_.size(); ++i) {
    while (k > 0 && word_[i] != word_[k]) k = failure_[k - 1];
    if (word_[i] == word_[k]) ++k;
    failure_[i] = k;
  }
}

std::size_t WordSearch::next(std::size_t from) {
  constexpr std::size_t npos = std::string_view::npos;
  if (word_.empty()) return from <= text_.size() ? from : npos;
  if (found_ != npos && found_ >= from) return found_;
  found_ = by_anchor_ ? next_by_anchor(from) : next_by_automaton(from);
  return found_;
}

std::size_t WordSearch::next_by_anchor(std::size_t from) {
  const std::size_t n = text_.size();
  const std::size_t m = word_.size();
  const std::size_t budget = 2 * n + 64;
  if (candidate_ < from) candidate_ = from;
  while (candidate_ + m <= n) {
    const char* hit = static_cast<const char*>(
        std::memchr(text_.data() + candidate_ + anchor_, word_[anchor_], n - m + 1 - candidate_));
    if (hit == nullptr) break;
    const std::size_t start = static_cast<std::size_t>(hit - text_.data()) - anchor_;
    compared_ += m;
    candidate_ = start + 1;
    if (std::memcmp(text_.data() + start, word_.data(), m) == 0) return start;
    if (compared_ > budget) {
      by_anchor_ = false;
      build_failure();
      return next_by_automaton(candidate_);
    }
  }
  candidate_ = n;
  return std::string_view::npos;
}

std::size_t WordSearch::next_by_automaton(std::size_t from) {
  const std::size_t n = text_.size();
  const std::size_t m = word_.size();
  // An occurrence at `from` or later reads nothing before `from`.
  if (from > scanned_) {
    scanned_ = from;
    state_ = 0;
  }
  while (scanned_ < n) {
    if (state_ == 0) {
      const void* hit = std::memchr(text_.data() + scanned_, word_[0], n - scanned_);
      if (hit == nullptr) break;
      scanned_ = static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data());
    }
    const char c = text_[scanned_++];
    while (state_ > 0 && word_[state_] != c) state_ = failure_[state_ - 1];
    if (word_[state_] == c) ++state_;
    if (state_ == m) {
      state_ = failure_[m - 1];
      const std::size_t start = scanned_ - m;
      if (start >= from) return start;
    }
  }
  scanned_ = n;
  return std::string_view::npos;
}

}  // namespace glsl
