// Finds the extent of main's body by counting braces, then looks for the
// word on either side of it. One reading of the body, and one search of the
// word (word_search.h).
#include "glsl/rules/outside_main.h"

#include "glsl/text/chars.h"
#include "glsl/rules/insert_into_main.h"
#include "glsl/text/word_search.h"

namespace glsl {
namespace {

// The position of the "}" that closes the body opened before `start`, or
// the end of the text.
std::size_t main_body_end(std::string_view text, std::size_t start) {
  const std::size_t n = text.size();
  std::size_t depth = 1;
  for (std::size_t at = start; at < n;) {
    if (text[at] == '/' && at + 1 < n && (text[at + 1] == '/' || text[at + 1] == '*')) {
      const bool line = text[at + 1] == '/';
      const std::size_t close = text.find(line ? "\n" : "*/", at + 2);
      at = close == std::string_view::npos ? n : close + (line ? 1 : 2);
      continue;
    }
    if (text[at] == '{') ++depth;
    if (text[at] == '}' && --depth == 0) return at;
    ++at;
  }
  return n;
}

}  // namespace

bool used_outside_main(std::string_view body, std::string_view word) {
  const std::string_view text = up_to_nul(body);
  const std::size_t start = main_body_start(text);
  if (start == std::string_view::npos) return false;
  const std::size_t end = main_body_end(text, start);
  WordSearch search(text, word);
  for (std::size_t at = search.next(0); at != std::string_view::npos; at = search.next(at + 1)) {
    if ((at < start || at > end) && is_whole_word_at(text, at, word.size())) return true;
  }
  return false;
}

}  // namespace glsl
