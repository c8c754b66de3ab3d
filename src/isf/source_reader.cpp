// The line reader of an ISF shader file: lines before the header comment are
// dropped, the comment's text becomes the header text, and every line after
// the comment's closing line is the body. One pass over the file text.
#include "isf/source_reader.h"

namespace isf {
namespace {

// The white space of both line tests: the C locale's isspace class, written
// out so that no locale setting can widen it to bytes of 0x80 and above.
bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Editors on Windows start UTF-8 files with these bytes; they would hide the
// header-opening "/*" from the line test.
constexpr std::string_view utf8_byte_order_mark = "\xEF\xBB\xBF";

enum class ReaderState { before_header, in_header, in_body };

// Appends a header piece from the opening or closing line: empty pieces add
// nothing, not even a line feed.
void append_piece(std::string& header_text, const std::string& piece) {
  if (piece.empty()) return;
  header_text += piece;
  header_text += '\n';
}

// Appends a run of whole lines as reading them one by one and adding each
// with a line feed would: each CR LF pair becomes a line feed, and a last
// line without one gains one. Copied in stretches between the pairs.
void append_lines(std::string& text, std::string_view lines) {
  text.reserve(text.size() + lines.size() + 1);
  std::size_t at = 0;
  for (std::size_t pair = lines.find("\r\n"); pair != std::string_view::npos;
       pair = lines.find("\r\n", at)) {
    text.append(lines, at, pair - at);
    text += '\n';
    at = pair + 2;
  }
  text.append(lines, at);
  if (!lines.empty() && lines.back() != '\n') text += '\n';
}

}  // namespace

bool match_header_start(std::string_view line, std::string& rest) {
  rest.clear();
  // The line counts only up to its first NUL.
  line = line.substr(0, line.find('\0'));
  std::size_t i = 0;
  while (i < line.size() && is_space(line[i])) ++i;
  if (line.substr(i, 2) != "/*") return false;
  rest.assign(line.substr(i + 2));
  return true;
}

bool match_header_end(std::string_view line, std::string& before) {
  before.clear();
  std::size_t end = line.size();
  while (end > 0 && is_space(line[end - 1])) --end;
  // "*/" needs two characters before the trailing white space.
  if (end < 2) return false;
  if (line[end - 1] != '/' || line[end - 2] != '*') return false;
  before.assign(line.substr(0, end - 2));
  return true;
}

ShaderSource read_shader_source(std::string_view file_text) {
  ShaderSource source;
  if (file_text.substr(0, utf8_byte_order_mark.size()) == utf8_byte_order_mark) {
    file_text.remove_prefix(utf8_byte_order_mark.size());
  }
  ReaderState state = ReaderState::before_header;
  std::string piece;
  std::size_t start = 0;
  std::size_t line_number = 0;
  std::size_t header_lines = 0;  // where the header's whole lines start
  while (start < file_text.size() && state != ReaderState::in_body) {
    ++line_number;
    std::size_t line_feed = file_text.find('\n', start);
    std::size_t next = line_feed == std::string_view::npos ? file_text.size() : line_feed + 1;
    std::size_t end = line_feed == std::string_view::npos ? file_text.size() : line_feed;
    // The CR of a CR LF pair belongs to the line end, as in a text-mode read.
    if (line_feed != std::string_view::npos && end > start && file_text[end - 1] == '\r') --end;
    std::string_view line = file_text.substr(start, end - start);
    const std::size_t line_start = start;
    start = next;

    switch (state) {
      case ReaderState::before_header:
        if (!match_header_start(line, piece)) break;
        // A header written on one line ("/* {...} */") closes on that line.
        if (std::string before; match_header_end(piece, before)) {
          append_piece(source.header_text, before);
          state = ReaderState::in_body;
          source.body_first_line = line_number + 1;
        } else {
          append_piece(source.header_text, piece);
          state = ReaderState::in_header;
          header_lines = start;
        }
        break;
      case ReaderState::in_header:
        // The lines before the closing one are taken in one piece below.
        if (match_header_end(line, piece)) {
          // Room for the closing piece too, so that the header is not copied
          // once more to grow by it.
          source.header_text.reserve(source.header_text.size() + line_start - header_lines +
                                     piece.size() + 2);
          append_lines(source.header_text,
                       file_text.substr(header_lines, line_start - header_lines));
          append_piece(source.header_text, piece);
          state = ReaderState::in_body;
          source.body_first_line = line_number + 1;
        }
        break;
      case ReaderState::in_body:  // the loop has ended; the body is read below
        break;
    }
  }
  if (state == ReaderState::in_header) append_lines(source.header_text, file_text.substr(header_lines));
  if (state == ReaderState::in_body) append_lines(source.body, file_text.substr(start));
  source.ended = state == ReaderState::before_header ? ReadEnd::no_header
                 : state == ReaderState::in_header   ? ReadEnd::header_open
                                                     : ReadEnd::body;
  return source;
}

}  // namespace isf
