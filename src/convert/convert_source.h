// The conversion of one shader's text into the plug-in text, in memory:
// everything between reading the shader file and writing the output file,
// with, on request, what a page about the shader needs to show it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "convert/header_facts.h"
#include "params/macro_format.h"

namespace convert {

enum class HeaderOutcome {
  read,        // the header was read whole
  unreadable,  // the header failed; converted without (the rest of) it
  multi_pass,  // the shader uses several passes: refused, no text
  audio,       // the body uses an audio input: refused, no text
  imported,    // the body uses an imported image: refused, no text
  // Nothing but white space to convert, by where the reading ended: no
  // text either.
  no_header,            // no header-opening line
  header_never_closes,  // the header comment runs to the end of the file
  no_code,              // the header closed and nothing followed it
};

// True for the outcomes that give no text.
bool gives_no_text(HeaderOutcome outcome);

struct SourceConversion {
  HeaderOutcome header = HeaderOutcome::read;
  std::string text;  // the plug-in text
  // The lines of the comment block and of the define block that open the
  // text, for placing a line of the text in the shader file.
  std::size_t comment_lines = 0;
  std::size_t define_lines = 0;
  std::size_t body_first_line = 0;  // the shader file's line where the body starts
  // With details requested: per line of the rewritten body, the 0-based
  // body line it comes from, or glsl::kGeneratedLine (see glsl/text/line_map.h);
  // the header's facts, as far as the header was read; and the parameters
  // as the text's macro lines declare them.
  std::vector<std::size_t> body_line_map;
  HeaderFacts facts;
  std::vector<params::ParameterMacro> parameters;
};

// Takes the file text over and releases it once it is split, so that a
// large shader is not held twice while its body is rewritten.
// `with_details` fills body_line_map, facts and parameters; the converter
// itself does without.
SourceConversion convert_source(std::string file_text, bool with_details = false);

}  // namespace convert
