// The conversion of one shader's text into the plug-in text, in memory:
// everything between reading the shader file and writing the output file.
#pragma once

#include <string>

namespace driver {

enum class HeaderOutcome {
  read,        // the header was read whole
  unreadable,  // the header failed; converted without (the rest of) it
  multi_pass,  // the shader uses several passes: refused, no text
};

struct SourceConversion {
  HeaderOutcome header = HeaderOutcome::read;
  std::string text;  // the plug-in text
};

// Takes the file text over and releases it once it is split, so that a
// large shader is not held twice while its body is rewritten.
SourceConversion convert_source(std::string file_text);

}  // namespace driver
