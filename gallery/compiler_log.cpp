// A small reader for Mesa's log lines: the location first (string number,
// line and column), then the severity word and the text.
#include "compiler_log.h"

#include <sstream>

#include "compiler_lines.h"

namespace gallery {
namespace {

bool take(std::string_view& text, std::string_view prefix) {
  if (text.substr(0, prefix.size()) != prefix) return false;
  text.remove_prefix(prefix.size());
  return true;
}

bool take_number(std::string_view& text, int& number) {
  std::size_t digits = 0;
  long value = 0;
  while (digits < text.size() && digits < 9 && text[digits] >= '0' && text[digits] <= '9')
    value = value * 10 + (text[digits++] - '0');
  if (digits == 0) return false;
  number = static_cast<int>(value);
  text.remove_prefix(digits);
  return true;
}

// "0:LINE(COLUMN): "; the column is optional.
bool take_location(std::string_view& text, int& line) {
  int source = 0, column = 0;
  if (!take_number(text, source) || !take(text, ":") || !take_number(text, line)) return false;
  if (take(text, "(") && !(take_number(text, column) && take(text, ")"))) return false;
  return take(text, ": ");
}

std::string take_severity(std::string_view& text) {
  for (std::string_view word : {"error", "warning"}) {
    std::string_view rest = text;
    if (take(rest, word) && take(rest, ":")) {
      take(rest, " ");
      text = rest;
      return std::string(word);
    }
  }
  return {};
}

CompilerMessage read_line(std::string_view line) {
  CompilerMessage message;
  std::string_view rest = line;
  std::string_view after_location = rest;
  int number = 0;
  if (take_location(after_location, number)) {
    message.frag_line = number;
    rest = after_location;
  }
  message.severity = take_severity(rest);
  message.text = std::string(rest);
  return message;
}

// Puts the message on the .frag line that the compiler means by its number,
// and on the .fs line that this line came from. A number that a #line
// directive made ambiguous stays as the compiler gave it, unplaced.
void place(CompilerMessage& message, const std::vector<SourcePlace>& places,
           const CompilerLines& frag, const std::vector<int>& fs_first) {
  std::optional<std::size_t> found = frag.find(message.frag_line);
  if (!found) {
    if (frag.renumbered)
      message.place.origin = LineOrigin::unplaced;
    else
      message.frag_line = 0;
    return;
  }
  const CompilerLine& line = frag.lines[*found];
  if (line.lf_line >= places.size()) {
    message.frag_line = 0;
    return;
  }
  message.frag_line = static_cast<int>(*found + 1);
  message.place = places[line.lf_line];
  int lf = message.place.fs_line;
  if (message.place.origin == LineOrigin::shader && lf >= 1 &&
      static_cast<std::size_t>(lf) <= fs_first.size())
    message.place.fs_line = fs_first[static_cast<std::size_t>(lf) - 1] + static_cast<int>(line.part);
}

}  // namespace

std::vector<CompilerMessage> read_compiler_log(const std::string& log,
                                               const std::vector<SourcePlace>& places,
                                               std::string_view frag_text,
                                               std::string_view fs_text) {
  CompilerLines frag = compiler_lines(frag_text);
  std::vector<int> fs_first = first_compiler_line_of_lf_lines(compiler_lines(fs_text));
  std::vector<CompilerMessage> messages;
  std::istringstream lines(log);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    CompilerMessage message = read_line(line);
    if (message.frag_line > 0) place(message, places, frag, fs_first);
    messages.push_back(std::move(message));
  }
  return messages;
}

}  // namespace gallery
