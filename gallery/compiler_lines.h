// Lines as Mesa's compiler counts them: CR LF, LF CR, a lone CR and a lone LF
// each end a line, and after "#line N" the next line is numbered N + 1. The
// converter's line map counts line feeds only; these tables join the two.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace gallery {

// One line as the compiler ends it, within the lines that line feeds end.
struct CompilerLine {
  std::size_t begin = 0;      // offset in the text
  std::size_t end = 0;        // before its line break
  std::size_t lf_line = 0;    // 0-based line of the text counted by line feeds
  std::size_t part = 0;       // lines that other breaks end before it in that line
  int number = 0;             // as the compiler reports it
};

struct CompilerLines {
  std::vector<CompilerLine> lines;
  bool renumbered = false;  // a #line directive changed the numbers
  // The 0-based index of the one line that the compiler reports as `number`,
  // nothing when no line or several lines have it.
  std::optional<std::size_t> find(int number) const;

  std::unordered_map<int, std::size_t> by_number;  // several lines: npos
};

CompilerLines compiler_lines(std::string_view text);

// For each line that line feeds end (0-based), the 1-based number of the
// compiler's line that begins it, #line aside.
std::vector<int> first_compiler_line_of_lf_lines(const CompilerLines& lines);

}  // namespace gallery
