// The gallery's command line: the shaders to survey, the folder that receives
// the page, and how the host's frames are rendered for it.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace gallery {

struct Options {
  std::string input_path;    // a folder of .fs files, or one .fs file
  std::string gallery_path;  // created when missing
  int width = 256;           // thumbnail and animation frame size
  int height = 256;
  int frames = 24;                  // animation frames; 0: still pictures only
  int fps = 12;                     // animation frames per second of shader time
  int jobs = 0;                     // worker processes; 0: one per core
  int time_limit = 20;              // seconds per shader, compiling and rendering
  int memory_limit = 2048;          // MiB per worker process; 0: none
  bool help = false;                // --help or -h: the usage, nothing else
  std::vector<std::string> images;  // PNG paths for tex0, tex1, ...
};

// Nothing when the command line is not valid; `error` then says why. The
// arguments exclude the program name. --help anywhere wins over the rest.
std::optional<Options> parse_options(const std::vector<std::string>& arguments, std::string& error);

}  // namespace gallery
