// Finds every call of the image macros and cuts its arguments in one reading.
//
// A body is regular when no macro name stands in the blanks and comments
// that follow another macro name or a call's "(", and no comment there holds
// a parenthesis. Then the "(" after a name is its own, the splitter and the
// search for the ")" count the same parentheses, and calls nest like the
// parentheses they open: one stack of open calls finds every ")" and every
// top-level comma. Each skip stops at the next macro name, so the whole
// reading is linear in the text.
#include "glsl/image_calls.h"

#include <algorithm>

#include "glsl/chars.h"

namespace glsl {
namespace {

constexpr std::size_t npos = std::string_view::npos;

// Past blanks and comments from `at`, stopping at `limit` (the next macro
// name, or the end). npos when a comment runs into `limit` or holds a
// parenthesis: then the body is not regular.
std::size_t skip_before(std::string_view text, std::size_t at, std::size_t limit) {
  while (at < limit) {
    if (is_white_space(text[at])) {
      ++at;
    } else if (text[at] == '/' && at + 1 < text.size() && text[at + 1] == '*') {
      const std::size_t close = text.substr(0, limit).find("*/", at + 2);
      if (close == npos) return limit == text.size() ? limit : npos;
      const std::string_view comment = text.substr(at, close - at);
      if (comment.find_first_of("()") != npos) return npos;
      at = close + 2;
    } else {
      break;
    }
  }
  return at;
}

struct Name {
  std::size_t at;
  std::size_t end;
  std::size_t macro;
};

// Whole-word occurrences of the names, which share the prefix `common`.
std::vector<Name> find_names(std::string_view text, const std::vector<std::string_view>& names) {
  std::string_view common = names.front();
  for (std::string_view name : names) {
    std::size_t same = 0;
    while (same < common.size() && same < name.size() && common[same] == name[same]) ++same;
    common = common.substr(0, same);
  }
  std::vector<Name> found;
  for (std::size_t at = text.find(common); at != npos; at = text.find(common, at)) {
    std::size_t end = at;
    while (end < text.size() && is_identifier_char(text[end])) ++end;
    if (at == 0 || !is_identifier_char(text[at - 1])) {
      const auto match = std::find(names.begin(), names.end(), text.substr(at, end - at));
      if (match != names.end()) {
        found.push_back({at, end, static_cast<std::size_t>(match - names.begin())});
      }
    }
    at = std::max(end, at + 1);
  }
  return found;
}

// The last character before `end` that is not white space.
std::size_t last_non_blank_before(std::string_view text, std::size_t end) {
  while (end > 0 && is_white_space(text[end - 1])) --end;
  return end == 0 ? npos : end - 1;
}

}  // namespace

bool find_image_calls(std::string_view text, const std::vector<std::string_view>& macro_names,
                      std::vector<ImageCall>& calls) {
  calls.clear();
  const std::size_t n = text.size();
  const std::vector<Name> names = find_names(text, macro_names);

  // The calls, with their "(" and where their first argument begins.
  std::vector<std::size_t> opens;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::size_t limit = i + 1 < names.size() ? names[i + 1].at : n;
    const std::size_t open = skip_before(text, names[i].end, limit);
    if (open == npos) return false;
    if (open == n || text[open] != '(') continue;
    const std::size_t first = skip_before(text, open + 1, limit);
    if (first == npos) return false;
    ImageCall call{names[i].macro, {}};
    call.call.name_at = names[i].at;
    call.call.first_begin = first;
    calls.push_back(call);
    opens.push_back(open);
  }

  // One reading with the open calls on a stack; each list's depth is the
  // depth inside its "(".
  struct Open {
    std::size_t call;
    std::size_t depth;
    std::size_t commas;
    std::size_t last_comma;
  };
  std::vector<Open> stack;
  const auto close = [&](std::size_t end) {
    const Open& open = stack.back();
    MacroCall& call = calls[open.call].call;
    call.close = end;
    if (open.commas == 0) call.first_end = end;
    if (open.commas <= 1) call.second_end = end;
    const bool last_empty = open.commas == 0 ? call.first_begin >= end
                                             : last_non_blank_before(text, end) == open.last_comma;
    call.argument_count = std::min<std::size_t>(open.commas + (last_empty ? 0 : 1), 3);
    stack.pop_back();
  };
  std::size_t depth = 0;
  std::size_t next = 0;  // the next call whose "(" is not read yet
  std::size_t x = opens.empty() ? n : opens[0];
  while (x < n) {
    const char c = text[x];
    if (next < opens.size() && x == opens[next]) {
      ++depth;
      stack.push_back({next, depth, 0, 0});
      ++next;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (!stack.empty() && stack.back().depth == depth) close(x);
      if (depth > 0) --depth;
    } else if (c == ',' && !stack.empty() && stack.back().depth == depth &&
               x >= calls[stack.back().call].call.first_begin) {
      Open& open = stack.back();
      MacroCall& call = calls[open.call].call;
      if (open.commas == 0) {
        call.first_end = x;
        call.first_comma = x;
      } else if (open.commas == 1) {
        call.second_end = x;
      }
      ++open.commas;
      open.last_comma = x;
    }
    ++x;
    if (stack.empty()) {
      depth = 0;
      x = next < opens.size() ? opens[next] : n;
    }
  }
  while (!stack.empty()) close(n);
  return true;
}

}  // namespace glsl
