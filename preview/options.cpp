// Parsing the preview renderer's command line. Every option takes one value;
// the two positional arguments are the converted shader and the PNG to write.
#include "options.h"

#include <cstdio>

#include "number_text.h"

namespace preview {

namespace {

// YYYY-MM-DD, optionally followed by THH:MM:SS.
bool parse_date(const std::string& text, CalendarDate& date) {
  int hours = 0, minutes = 0, seconds = 0, used = 0;
  int fields = std::sscanf(text.c_str(), "%d-%d-%d%n", &date.year, &date.month, &date.day, &used);
  if (fields != 3) return false;
  if (text[used] == 'T') {
    int more = 0;
    if (std::sscanf(text.c_str() + used, "T%d:%d:%d%n", &hours, &minutes, &seconds, &more) != 3)
      return false;
    used += more;
  }
  if (text[used] != '\0') return false;
  if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31) return false;
  if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 60)
    return false;
  date.seconds = hours * 3600.0 + minutes * 60.0 + seconds;
  return true;
}

}  // namespace

std::string usage_text() {
  return "Usage: isf2orvy-preview [options] shader.frag output.png\n"
         "Renders one frame of a converted shader the way the host would and writes it as PNG.\n"
         "  --size WxH             frame size in pixels (default 256x256)\n"
         "  --time SECONDS         value of time (default 0)\n"
         "  --time-delta SECONDS   value of time_delta (default 1/60)\n"
         "  --frame N              value of iFrame (default 0)\n"
         "  --date YYYY-MM-DD[THH:MM:SS]  value of iDate (default: now, local time)\n"
         "  --image PATH.png       the next image input: the first --image feeds tex0,\n"
         "                         the second tex1, ...; the others get a test pattern\n"
         "  --set NAME=VALUE       a parameter's value instead of its default; a colour\n"
         "                         as 0xAARRGGBB or R,G,B,A from 0 to 1\n";
}

std::optional<Options> parse_options(const std::vector<std::string>& arguments,
                                     std::string& error) {
  Options options;
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument.rfind("--", 0) != 0) {
      positional.push_back(argument);
      continue;
    }
    if (i + 1 >= arguments.size()) {
      error = "option " + argument + " needs a value";
      return std::nullopt;
    }
    const std::string& value = arguments[++i];
    bool ok = true;
    if (argument == "--size") {
      ok = render::parse_frame_size(value, options.width, options.height);
    } else if (argument == "--time") {
      ok = render::parse_double(value, options.time);
    } else if (argument == "--time-delta") {
      ok = render::parse_double(value, options.time_delta);
    } else if (argument == "--frame") {
      ok = render::parse_int(value, options.frame);
    } else if (argument == "--date") {
      CalendarDate date;
      ok = parse_date(value, date);
      if (ok) options.date = date;
    } else if (argument == "--image") {
      options.images.push_back(value);
    } else if (argument == "--set") {
      std::size_t equals = value.find('=');
      ok = equals != std::string::npos && equals > 0;
      if (ok)
        options.parameter_values.emplace_back(value.substr(0, equals), value.substr(equals + 1));
    } else {
      error = "unknown option " + argument;
      return std::nullopt;
    }
    if (!ok) {
      error = "invalid value for " + argument + ": " + value;
      return std::nullopt;
    }
  }
  if (positional.size() != 2) {
    error = "expected a shader and an output file";
    return std::nullopt;
  }
  options.shader_path = positional[0];
  options.output_path = positional[1];
  return options;
}

}  // namespace preview
