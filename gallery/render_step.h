// The host's part for one converted shader: compile it as the host does,
// place and explain the compiler's messages, and render the thumbnail and,
// for shaders that follow the clock, the animation.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "gl_context.h"
#include "host_uniforms.h"
#include "image.h"
#include "shader_entry.h"

namespace gallery {

struct RenderSettings {
  int frames = 24;
  int fps = 12;
  std::vector<render::RgbaImage> images;  // tex0, tex1, ... from --image
  render::RgbaImage test_pattern;          // for every other image input
  std::array<double, 4> date{};            // iDate at time 0
  std::string media_folder;                // ends in the separator
};

// The built-in values of animation frame `frame`; frame 0 is the thumbnail's.
render::FrameValues frame_values(const RenderSettings& settings, int frame);

// Compiles the entry's text in `context` (the calling thread's own, of the
// thumbnail size) and fills its compile and explanation fields; true when it
// compiles.
bool compile_entry(render::OffscreenContext& context, ShaderEntry& entry);

// Renders the compiled entry's pictures into the media folder and fills its
// picture fields, or its render error.
void render_entry(render::OffscreenContext& context, const RenderSettings& settings,
                  ShaderEntry& entry);

}  // namespace gallery
