// Whole-word search and replacement over GLSL text, and the splitting of a
// call's arguments. Each operation reads its text once from left to right
// (word occurrences through WordSearch), so its time is linear in the text.
#include "glsl/scan.h"

#include "glsl/chars.h"
#include "glsl/output_length.h"
#include "glsl/word_search.h"

namespace glsl {
namespace {

// Whole when neither neighbour in `text` continues the identifier.
bool is_whole_at(std::string_view text, std::size_t at, std::size_t length) {
  const bool starts = at == 0 || !is_identifier_char(text[at - 1]);
  const bool ends = at + length == text.size() || !is_identifier_char(text[at + length]);
  return starts && ends;
}

}  // namespace

bool find_whole_word(std::string_view text, std::string_view word, std::size_t& position) {
  WordSearch search(text, word);
  position = search.next(0);
  return position != std::string_view::npos && is_whole_at(text, position, word.size());
}

namespace {

template <class Out>
void write_replaced(Out& out, std::string_view text, std::string_view old_name,
                    std::string_view new_name, bool& replaced) {
  WordSearch search(text, old_name);
  std::size_t copied = 0;  // text before it is in `out`
  std::size_t from = 0;
  for (std::size_t at = search.next(from); at != std::string_view::npos; at = search.next(from)) {
    if (!is_whole_at(text, at, old_name.size())) {
      from = at + 1;
      continue;
    }
    out += text.substr(copied, at - copied);
    out += new_name;
    replaced = true;
    copied = from = at + old_name.size();
  }
  out += text.substr(copied);
}

}  // namespace

std::string replace_whole_word(std::string_view text, std::string_view old_name,
                               std::string_view new_name, bool& replaced) {
  replaced = false;
  text = up_to_nul(text);
  // A name that cannot start an identifier is never a candidate.
  if (old_name.empty() || !is_name_start_char(old_name[0])) return std::string(text);

  std::size_t size = text.size();
  if (new_name.size() > old_name.size()) {
    OutputLength length;
    write_replaced(length, text, old_name, new_name, replaced);
    size = length.size;
  }
  std::string result;
  result.reserve(size);
  write_replaced(result, text, old_name, new_name, replaced);
  return result;
}

bool replace_whole_word_in(std::string& text, std::string_view old_name, std::string_view new_name) {
  text.resize(up_to_nul(text).size());
  if (old_name.empty() || !is_name_start_char(old_name[0])) return false;
  bool replaced = false;
  OutputLength length;
  write_replaced(length, text, old_name, new_name, replaced);
  if (!replaced) return false;
  std::string result;
  result.reserve(length.size);
  write_replaced(result, text, old_name, new_name, replaced);
  text = std::move(result);
  return true;
}

std::vector<std::string> split_call_arguments(std::string_view text) {
  text = up_to_nul(text);
  const std::size_t n = text.size();
  std::vector<std::string> arguments;
  std::size_t at = skip_blanks_and_comments(text, 0);
  if (at == n) return arguments;

  std::size_t start = at;
  int depth = 0;
  while (at < n) {
    const char c = text[at];
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (depth <= 0) break;
      --depth;
    } else if (c == ',' && depth == 0) {
      // White space before a comma stays in the argument; after it, only
      // white space is skipped, not comments.
      arguments.emplace_back(text.substr(start, at - start));
      ++at;
      while (at < n && is_white_space(text[at])) ++at;
      start = at;
      continue;
    }
    ++at;
  }
  if (at > start) arguments.emplace_back(text.substr(start, at - start));
  return arguments;
}

}  // namespace glsl
