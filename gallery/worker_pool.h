// Compiling and rendering on a pool of worker processes that live across
// shaders, one per core: a shader that crashes the driver, runs past the time
// limit or exhausts the memory limit ends its worker only, and a new worker
// takes its place.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "progress.h"
#include "render_step.h"
#include "shader_entry.h"

namespace gallery {

struct PoolSettings {
  int workers = 1;
  int width = 256;           // of each worker's context
  int height = 256;
  int time_limit = 20;       // seconds per shader, compiling and rendering
  std::size_t memory_limit = 0;  // bytes per worker; 0: none
};

// Compiles and renders every entry whose .frag was written, and advances the
// progress as each ends. Gives the reason when no worker can run at all (no
// OpenGL context, no process), and empty otherwise.
std::string render_in_workers(std::vector<ShaderEntry>& entries, const RenderSettings& settings,
                              const PoolSettings& pool, Progress& progress);

}  // namespace gallery
