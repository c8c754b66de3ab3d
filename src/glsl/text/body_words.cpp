// One reading of the body, word by word (the longest runs of identifier
// characters), looking each word up among the names asked about; the
// neighbours of a word are read only when it is one of them. Linear in the
// body plus the names.
#include "glsl/text/body_words.h"

#include <array>
#include <unordered_map>

#include "glsl/calls/call_syntax.h"
#include "glsl/text/chars.h"

namespace glsl {
namespace {

constexpr std::array<std::string_view, 15> kTypeWords = {
    "float", "int",   "bool",  "vec2", "vec3", "vec4", "ivec2", "ivec3",
    "ivec4", "bvec2", "bvec3", "bvec4", "mat2", "mat3", "mat4"};

bool is_type_word(std::string_view word) {
  for (std::string_view type : kTypeWords) {
    if (word == type) return true;
  }
  return false;
}

bool is_declaration_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool is_identifier(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name) {
    if (!is_identifier_char(c)) return false;
  }
  return true;
}

std::size_t first_non_blank_from(std::string_view text, std::size_t at) {
  while (at < text.size() && is_white_space(text[at])) ++at;
  return at;
}

// The word that ends right before `end`, if any.
std::string_view word_before(std::string_view text, std::size_t end) {
  std::size_t begin = end;
  while (begin > 0 && is_identifier_char(text[begin - 1])) --begin;
  return text.substr(begin, end - begin);
}

bool is_logical_pair(std::string_view text, std::size_t at) {
  if (at + 1 >= text.size() || text[at] != text[at + 1]) return false;
  return text[at] == '&' || text[at] == '|' || text[at] == '^';
}

// The word text[begin, end) stands where a condition stands.
bool is_condition(std::string_view text, std::size_t begin, std::size_t end) {
  const std::size_t next = first_non_blank_from(text, end);
  if (next < text.size() && (text[next] == '?' || is_logical_pair(text, next))) return true;
  const std::size_t before = last_non_blank_before(text, begin);
  if (before == std::string_view::npos) return false;
  if (text[before] == '!') return true;
  if (before > 0 && is_logical_pair(text, before - 1)) return true;
  if (text[before] != '(' || next >= text.size() || text[next] != ')') return false;
  const std::size_t keyword_end = last_non_blank_before(text, before);
  if (keyword_end == std::string_view::npos) return false;
  const std::string_view keyword = word_before(text, keyword_end + 1);
  return keyword == "if" || keyword == "while";
}

}  // namespace

std::vector<WordUse> word_uses(std::string_view body, const std::vector<std::string>& names) {
  std::unordered_map<std::string_view, WordUse> asked;
  for (const std::string& name : names) {
    if (is_identifier(name)) asked.emplace(name, WordUse());
  }
  std::vector<WordUse> uses(names.size());
  if (asked.empty()) return uses;
  const std::string_view text = up_to_nul(body);
  const std::size_t n = text.size();
  bool after_type = false;  // a type word, then blanks only so far
  bool blank_seen = false;
  for (std::size_t at = 0; at < n;) {
    if (!is_identifier_char(text[at])) {
      if (after_type && is_declaration_blank(text[at])) {
        blank_seen = true;
      } else {
        after_type = false;
      }
      ++at;
      continue;
    }
    std::size_t end = at + 1;
    while (end < n && is_identifier_char(text[end])) ++end;
    const std::string_view word = text.substr(at, end - at);
    auto found = asked.find(word);
    if (found != asked.end()) {
      WordUse& use = found->second;
      use.used = true;
      if (after_type && blank_seen) use.declared = true;
      if (!use.condition && is_condition(text, at, end)) use.condition = true;
    }
    after_type = is_type_word(word);
    blank_seen = false;
    at = end;
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    auto found = asked.find(names[i]);
    if (found != asked.end()) uses[i] = found->second;
  }
  return uses;
}

}  // namespace glsl
