// Parsing the gallery's command line. Every option but --help takes one value;
// the two positional arguments are INPUT and GALLERY_DIR.
#include "options.h"

#include "gallery_messages.h"
#include "number_text.h"

namespace gallery {
namespace {

constexpr int max_frames = 600;
constexpr int max_fps = 60;
constexpr int max_jobs = 256;
constexpr int max_time_limit = 24 * 60 * 60;
constexpr int min_memory_limit = 256;
constexpr int max_memory_limit = 1 << 20;

bool parse_bounded(const std::string& text, int low, int high, int& value) {
  return render::parse_int(text, value) && value >= low && value <= high;
}

}  // namespace

std::optional<Options> parse_options(const std::vector<std::string>& arguments,
                                     std::string& error) {
  Options options;
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      options.help = true;
      return options;
    }
    if (argument.size() < 2 || argument.compare(0, 2, "--") != 0) {
      positional.push_back(argument);
      continue;
    }
    if (i + 1 >= arguments.size()) {
      error = messages::option_needs_value(argument);
      return std::nullopt;
    }
    const std::string& value = arguments[++i];
    bool ok = true;
    if (argument == "--size") {
      ok = render::parse_frame_size(value, options.width, options.height);
    } else if (argument == "--frames") {
      ok = parse_bounded(value, 0, max_frames, options.frames);
    } else if (argument == "--fps") {
      ok = parse_bounded(value, 1, max_fps, options.fps);
    } else if (argument == "--jobs") {
      ok = parse_bounded(value, 1, max_jobs, options.jobs);
    } else if (argument == "--time-limit") {
      ok = parse_bounded(value, 1, max_time_limit, options.time_limit);
    } else if (argument == "--memory-limit") {
      ok = parse_bounded(value, 0, max_memory_limit, options.memory_limit) &&
           (options.memory_limit == 0 || options.memory_limit >= min_memory_limit);
    } else if (argument == "--image") {
      options.images.push_back(value);
    } else {
      error = messages::unknown_option(argument);
      return std::nullopt;
    }
    if (!ok) {
      error = messages::invalid_option_value(argument, value);
      return std::nullopt;
    }
  }
  if (positional.size() != 2) {
    error = messages::expected_two_paths();
    return std::nullopt;
  }
  options.input_path = positional[0];
  options.gallery_path = positional[1];
  return options;
}

}  // namespace gallery
