// The preview renderer's command line: the converted shader, the PNG to write,
// and what the host would hand the shader for one frame.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace preview {

struct CalendarDate {
  int year = 0;
  int month = 0;         // 1 to 12
  int day = 0;           // 1 to 31
  double seconds = 0.0;  // since midnight
};

struct Options {
  std::string shader_path;
  std::string output_path;
  int width = 256;
  int height = 256;
  double time = 0.0;
  double time_delta = 1.0 / 60.0;
  int frame = 0;
  std::optional<CalendarDate> date;  // none: the current local date and time
  std::vector<std::string> images;   // PNG paths for tex0, tex1, ...
  std::vector<std::pair<std::string, std::string>> parameter_values;  // name, value
};

// Nothing when the command line is not valid; `error` then says why.
std::optional<Options> parse_options(const std::vector<std::string>& arguments, std::string& error);

// The usage text, ending in a line feed.
std::string usage_text();

}  // namespace preview
