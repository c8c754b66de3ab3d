// One pass over the text finds the compiler's lines and their numbers; a
// table by number then answers each message of the log in constant time.
// Two line breaks in a row of different kinds (CR LF, LF CR) are one break,
// as Mesa's preprocessor reads them.
#include "compiler_lines.h"

namespace gallery {
namespace {

constexpr std::size_t several = static_cast<std::size_t>(-1);

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// The number N of a "#line N" or "#line N S" directive.
std::optional<int> line_directive(std::string_view line) {
  std::size_t at = 0;
  while (at < line.size() && is_blank(line[at])) ++at;
  if (at >= line.size() || line[at] != '#') return std::nullopt;
  ++at;
  while (at < line.size() && is_blank(line[at])) ++at;
  if (line.substr(at, 4) != "line") return std::nullopt;
  at += 4;
  if (at >= line.size() || !is_blank(line[at])) return std::nullopt;
  while (at < line.size() && is_blank(line[at])) ++at;
  long number = 0;
  std::size_t digits = 0;
  for (; at < line.size() && digits < 9 && line[at] >= '0' && line[at] <= '9'; ++at, ++digits)
    number = number * 10 + (line[at] - '0');
  if (digits == 0) return std::nullopt;
  return static_cast<int>(number);
}

}  // namespace

std::optional<std::size_t> CompilerLines::find(int number) const {
  auto hit = by_number.find(number);
  if (hit == by_number.end() || hit->second == several) return std::nullopt;
  return hit->second;
}

CompilerLines compiler_lines(std::string_view text) {
  CompilerLines result;
  std::size_t lf_line = 0, part = 0, begin = 0;
  int number = 1;
  auto add = [&](std::size_t end) {
    CompilerLine line{begin, end, lf_line, part, number};
    auto [slot, fresh] = result.by_number.emplace(number, result.lines.size());
    if (!fresh) slot->second = several;
    result.lines.push_back(line);
    std::optional<int> directive = line_directive(text.substr(begin, end - begin));
    if (directive) result.renumbered = true;
    number = directive ? *directive + 1 : number + 1;
  };
  for (std::size_t at = 0; at < text.size(); ++at) {
    char c = text[at];
    if (c != '\n' && c != '\r') continue;
    add(at);
    bool pair = at + 1 < text.size() && (text[at + 1] == '\n' || text[at + 1] == '\r') &&
                text[at + 1] != c;
    std::size_t feeds = (c == '\n' ? 1 : 0) + (pair && text[at + 1] == '\n' ? 1 : 0);
    if (pair) ++at;
    lf_line += feeds;
    part = feeds > 0 ? 0 : part + 1;
    begin = at + 1;
  }
  if (begin < text.size() || result.lines.empty()) add(text.size());
  return result;
}

std::vector<int> first_compiler_line_of_lf_lines(const CompilerLines& lines) {
  std::vector<int> first;
  for (std::size_t i = 0; i < lines.lines.size(); ++i)
    if (lines.lines[i].part == 0) {
      first.resize(lines.lines[i].lf_line + 1, static_cast<int>(i + 1));
    }
  return first;
}

}  // namespace gallery
