// The counts per outcome that the console's summary line, the report and the
// page's header all show, and the exit status that follows from them.
#pragma once

#include <cstddef>
#include <vector>

#include "shader_entry.h"

namespace gallery {

struct Summary {
  std::size_t shaders = 0;
  std::size_t converted = 0;  // header unreadable included
  std::size_t header_unreadable = 0;
  std::size_t compile = 0;
  std::size_t do_not_compile = 0;
  std::size_t crashed_or_stopped = 0;  // compiling ended by a crash, the time or memory limit
  std::size_t refused_vertex_shader = 0;
  std::size_t refused_several_passes = 0;
  std::size_t refused_audio_inputs = 0;
  std::size_t refused_imported_images = 0;
  std::size_t converter_errors = 0;
  std::size_t single_colour = 0;
  std::size_t render_errors = 0;
};

Summary summarise(const std::vector<ShaderEntry>& entries);

// The refusals of every kind together.
std::size_t refused(const Summary& summary);

// 0 when every converted shader compiles and everything was read, written
// and rendered; 1 otherwise.
int exit_status(const Summary& summary);

}  // namespace gallery
