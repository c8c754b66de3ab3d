// Whole-word search and replacement over GLSL text. Each reads its text once
// from left to right (word occurrences through WordSearch), so its time is
// linear in the text.
#include "glsl/text/whole_word.h"

#include "glsl/text/body_text.h"
#include "glsl/text/chars.h"
#include "glsl/text/line_map.h"
#include "glsl/text/word_search.h"

namespace glsl {

bool first_occurrence_is_whole_word(std::string_view text, std::string_view word,
                                    std::size_t& position) {
  WordSearch search(text, word);
  position = search.next(0);
  return position != std::string_view::npos && is_whole_word_at(text, position, word.size());
}

namespace {

// Writes the replaced text to `out`, which stays untouched while nothing is
// replaced: a text without the name costs one read and no copy. True when
// something was replaced.
template <class Out>
bool write_replaced(Out& out, std::string_view text, std::string_view old_name,
                    std::string_view new_name) {
  WordSearch search(text, old_name);
  bool replaced = false;
  std::size_t copied = 0;  // text before it is in `out`
  std::size_t from = 0;
  for (std::size_t at = search.next(from); at != std::string_view::npos; at = search.next(from)) {
    if (!is_whole_word_at(text, at, old_name.size())) {
      from = at + 1;
      continue;
    }
    if (!replaced) out.reserve(room_for_rewrite(text.size()));
    put_copy(out, text, copied, at);
    put_made_for(out, new_name, at);
    replaced = true;
    copied = from = at + old_name.size();
  }
  if (replaced) put_copy(out, text, copied, text.size());
  return replaced;
}

}  // namespace

bool BodyText::replace_whole_word(std::string_view old_name, std::string_view new_name) {
  end_at_nul();
  // A name that cannot start an identifier is never a candidate.
  if (old_name.empty() || !is_name_start_char(old_name[0])) return false;
  const std::string_view text = text_;
  return rewrite([&](auto& out) { return write_replaced(out, text, old_name, new_name); });
}

}  // namespace glsl
