// Reads the calls of the image macros and tells whether a body is regular.
//
// A body is regular when no macro name stands in the blanks and comments
// that follow another macro name or a call's "(", the parentheses of each
// comment there pair up among themselves, and no comment after a name holds
// a comma outside them. Then the "(" after a name is
// its own, the splitter and the search for the ")" agree on every comma and
// ")" that matters, a rewrite leaves the depth around it as it was, and
// calls nest like the parentheses they open: one stack of open calls finds every ")" and every
// top-level comma. Each skip stops at the next macro name, so the whole
// reading is linear in the text.
//
// Example: "IMG_SIZE /* (size) */ (img)" is regular; "IMG_SIZE /* ( */
// (img)" is not (the comment's "(" pairs with nothing), nor is
// "IMG_SIZE /* IMG_PIXEL */ (img)" (a macro name in the blanks after a
// name), nor "IMG_PIXEL(a, IMG_SIZE /* , */ (b))" (a comma in a comment
// after a name, which would cut the outer call's arguments once the inner
// call is rewritten).
#include "glsl/calls/image_calls.h"

#include <algorithm>
#include <limits>

#include "glsl/calls/call_syntax.h"
#include "glsl/text/chars.h"

namespace glsl {
namespace {

constexpr std::size_t npos = std::string_view::npos;

// Every ")" of `comment` closes a "(" before it, every "(" is closed, and,
// with `no_comma`, no comma stands outside them.
bool pairs_up(std::string_view comment, bool no_comma) {
  std::size_t depth = 0;
  for (const char c : comment) {
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (depth == 0) return false;
      --depth;
    } else if (c == ',' && depth == 0 && no_comma) {
      return false;
    }
  }
  return depth == 0;
}

// Past blanks and comments from `at`, stopping at `limit` (the next macro
// name, or the end). npos when a comment runs into `limit` or does not pair
// up its parentheses (or, after a name, holds a comma outside them): then
// the body is not regular. A comment after a name stands at the level of
// the call around it, whose commas it would change when its call is
// rewritten; after a "(" it is inside the call's own parentheses.
std::size_t skip_before(std::string_view text, std::size_t at, std::size_t limit, bool after_name) {
  return skip_blanks_and_comments(text, at, limit, [&](std::size_t open, std::size_t close) {
    if (close == npos) return limit == text.size();
    return pairs_up(text.substr(open, close - open), after_name);
  });
}

}  // namespace

CallReader::CallReader(std::string_view text, const std::vector<std::string_view>& names)
    : text_(text), names_(names), common_(names.front()) {
  for (std::string_view name : names) {
    std::size_t same = 0;
    while (same < common_.size() && same < name.size() && common_[same] == name[same]) ++same;
    common_ = common_.substr(0, same);
  }
  have_name_ = next_name(0);
}

bool CallReader::next_name(std::size_t from) {
  for (std::size_t at = text_.find(common_, from); at != npos; at = text_.find(common_, at)) {
    std::size_t end = at;
    while (end < text_.size() && is_identifier_char(text_[end])) ++end;
    if (at == 0 || !is_identifier_char(text_[at - 1])) {
      const auto match = std::find(names_.begin(), names_.end(), text_.substr(at, end - at));
      if (match != names_.end()) {
        name_at_ = at;
        name_end_ = end;
        macro_ = static_cast<std::size_t>(match - names_.begin());
        return true;
      }
    }
    at = std::max(end, at + 1);
  }
  return false;
}

bool CallReader::next(ImageCall& call, std::size_t& open) {
  const std::size_t n = text_.size();
  while (regular_ && have_name_) {
    const std::size_t at = name_at_, end = name_end_, macro = macro_;
    have_name_ = next_name(end);
    const std::size_t limit = have_name_ ? name_at_ : n;
    open = skip_before(text_, end, limit, true);
    const std::size_t first =
        open == npos || open == n || text_[open] != '(' ? open : skip_before(text_, open + 1, limit, false);
    if (first == npos) regular_ = false;
    if (!regular_ || open == n || text_[open] != '(') continue;
    call = ImageCall{};
    call.name_at = static_cast<std::uint32_t>(at);
    call.first_begin = static_cast<std::uint32_t>(first);
    call.macro = static_cast<std::uint8_t>(macro);
    return true;
  }
  return false;
}

bool is_regular(std::string_view text, const std::vector<std::string_view>& macro_names) {
  if (text.size() >= std::numeric_limits<std::uint32_t>::max()) return false;
  CallReader reader(text, macro_names);
  ImageCall call;
  std::size_t open = 0;
  while (reader.next(call, open)) {
  }
  return reader.regular();
}

}  // namespace glsl
