// Splits an ISF shader file into the JSON text of its header comment and the
// GLSL body that follows it. The header is the first block comment that opens
// a line ("/*") and runs to the first later line that ends in "*/".
#pragma once

#include <string>
#include <string_view>

namespace isf {

// Where the reading of a file ended: before any header-opening line, inside
// a header that never closed, or in the body after it.
enum class ReadEnd { no_header, header_open, body };

struct ShaderSource {
  ReadEnd ended = ReadEnd::no_header;
  std::string header_text;  // every header piece followed by "\n"
  std::string body;         // every body line followed by "\n"
  // The file line (counted from 1) that the body starts at: the line after
  // the header's closing line; 0 when the file has no header.
  std::size_t body_first_line = 0;
};

// True when `line` opens the header: its first non-white-space characters are
// "/*". `rest` receives the text after "/*" (up to a NUL), empty when false.
bool match_header_start(std::string_view line, std::string& rest);

// True when `line` closes the header: its last non-white-space characters are
// "*/" ("*/" alone closes too). `before` receives the text before the "*",
// empty when false.
bool match_header_end(std::string_view line, std::string& before);

// Reads the whole file text line by line (LF or CR LF line ends; a final line
// without a line feed still counts) and splits it into header text and body.
// A UTF-8 byte-order mark at the very start is skipped.
ShaderSource read_shader_source(std::string_view file_text);

}  // namespace isf
