// A text as tokens for the renaming of image names: words (the longest runs
// of identifier characters) and single other characters, each known by a
// label: the characters by their byte, the words of the names and the
// samplers by a number from kFirstWord, any other word as kOtherWord.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "glsl/text/chars.h"

namespace glsl {

constexpr std::uint32_t kOtherWord = 256;
constexpr std::uint32_t kFirstWord = 257;

inline bool is_word(std::uint32_t label) { return label >= kOtherWord; }

// Each token of `text` as each(begin, end).
template <class Each>
void for_each_token(std::string_view text, const Each& each) {
  const std::size_t n = text.size();
  for (std::size_t at = 0; at < n;) {
    std::size_t end = at + 1;
    if (is_identifier_char(text[at])) {
      while (end < n && is_identifier_char(text[end])) ++end;
    }
    each(at, end);
    at = end;
  }
}

// The words of the names and samplers, numbered from kFirstWord.
class Vocabulary {
 public:
  // A word of a name: the text's words are looked up among these.
  std::uint32_t add(std::string_view word) {
    starts_[static_cast<unsigned char>(word[0])] = true;
    if (word.size() > longest_) longest_ = word.size();
    const std::uint32_t label = add_sampler(word);
    in_names_[label - kFirstWord] = true;
    return label;
  }

  // A sampler: a word that only renamings write.
  std::uint32_t add_sampler(std::string_view word) {
    const auto added = ids_.emplace(word, static_cast<std::uint32_t>(kFirstWord + words_.size()));
    if (added.second) {
      words_.push_back(word);
      in_names_.push_back(false);
    }
    return added.first->second;
  }

  // The label of the token text[begin, end).
  std::uint32_t label_of(std::string_view text, std::size_t begin, std::size_t end) const {
    if (!is_identifier_char(text[begin])) return static_cast<unsigned char>(text[begin]);
    if (!starts_[static_cast<unsigned char>(text[begin])] || end - begin > longest_) return kOtherWord;
    const auto found = ids_.find(text.substr(begin, end - begin));
    return found == ids_.end() || !in_names_[found->second - kFirstWord] ? kOtherWord : found->second;
  }

  // The labels of the tokens of a name, its words added.
  std::vector<std::uint32_t> add_tokens(std::string_view text) {
    std::vector<std::uint32_t> labels;
    for_each_token(text, [&](std::size_t begin, std::size_t end) {
      labels.push_back(is_identifier_char(text[begin]) ? add(text.substr(begin, end - begin))
                                                       : static_cast<unsigned char>(text[begin]));
    });
    return labels;
  }

  std::string_view word(std::uint32_t label) const { return words_[label - kFirstWord]; }
  std::size_t labels() const { return kFirstWord + words_.size(); }

 private:
  std::unordered_map<std::string_view, std::uint32_t> ids_;
  std::vector<std::string_view> words_;
  std::vector<bool> in_names_;
  bool starts_[256] = {};  // the first characters of the words of the names
  std::size_t longest_ = 0;
};

}  // namespace glsl
