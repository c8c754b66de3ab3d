// The conversion of one shader's text into the plug-in text, in memory:
// everything between reading the shader file and writing the output file.
#pragma once

#include <string>
#include <string_view>

namespace driver {

struct SourceConversion {
  bool multi_pass = false;         // refused: no text
  bool header_unreadable = false;  // the header failed; converted without (the rest of) it
  std::string text;                // the plug-in text
};

SourceConversion convert_source(std::string_view file_text);

}  // namespace driver
