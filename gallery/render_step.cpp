// Frame 0 is drawn at time 0 with every parameter at its default, as the
// preview draws it; an animation continues from there at the chosen rate,
// with time, time_delta, iFrame and the seconds of iDate advancing together.
// A shader is flagged as a single colour when every frame is the same flat
// colour: a flat colour that changes over time is a picture of its own.
#include "render_step.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <new>
#include <stdexcept>

#include "compiler_log.h"
#include "explanations.h"
#include "host_parameters.h"
#include "host_uniforms.h"
#include "png_io.h"
#include "webp_animation.h"

namespace gallery {
render::FrameValues frame_values(const RenderSettings& settings, int frame) {
  render::FrameValues values;
  values.time = static_cast<double>(frame) / settings.fps;
  values.time_delta = 1.0 / settings.fps;
  values.frame = frame;
  values.date = settings.date;
  values.date[3] += values.time;
  return values;
}

namespace {

std::vector<render::RgbaImage> input_images(const RenderSettings& settings, int slots) {
  std::vector<render::RgbaImage> images;
  for (int n = 0; n < slots; ++n)
    images.push_back(static_cast<std::size_t>(n) < settings.images.size() ? settings.images[n]
                                                                          : settings.test_pattern);
  return images;
}

// True when every pixel of the frame has the same four bytes.
bool is_single_colour(const render::RgbaImage& frame) {
  const auto& p = frame.pixels;
  for (std::size_t i = 4; i < p.size(); i += 4)
    if (p[i] != p[0] || p[i + 1] != p[1] || p[i + 2] != p[2] || p[i + 3] != p[3]) return false;
  return true;
}

void write_bytes(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
}

void render_pictures(render::OffscreenContext& context, const RenderSettings& settings,
                     ShaderEntry& entry) {
  std::vector<render::HostParameter> parameters = render::read_host_parameters(entry.frag_text);
  render::bind_host_uniforms(context,
                             input_images(settings, render::image_slot_count(context.program())),
                             frame_values(settings, 0), parameters);
  render::RgbaImage still = context.draw_frame();
  entry.single_colour = is_single_colour(still);
  render::write_png(settings.media_folder + entry.stem + ".png", still);
  entry.thumbnail = entry.stem + ".png";

  if (settings.frames <= 0 || !render::uses_frame_clock(context.program())) return;
  AnimationEncoder animation(still.width, still.height, settings.fps);
  animation.add(still);
  for (int n = 1; n < settings.frames; ++n) {
    render::set_frame_uniforms(context, frame_values(settings, n));
    render::RgbaImage frame = context.draw_frame();
    entry.single_colour = entry.single_colour && frame.pixels == still.pixels;
    animation.add(frame);
  }
  write_bytes(settings.media_folder + entry.stem + ".webp", animation.finish());
  entry.animation = entry.stem + ".webp";
}

}  // namespace

bool compile_entry(render::OffscreenContext& context, ShaderEntry& entry) {
  try {
    context.use_fragment_program(entry.frag_text);
  } catch (const render::ShaderError& error) {
    entry.compiled = false;
    entry.messages = read_compiler_log(error.log(), entry.frag_lines, entry.frag_text,
                                       entry.fs_text);
    entry.explanations = explain_failure(entry);
    return false;
  }
  entry.compiled = true;
  return true;
}

void render_entry(render::OffscreenContext& context, const RenderSettings& settings,
                  ShaderEntry& entry) {
  try {
    render_pictures(context, settings, entry);
  } catch (const std::bad_alloc&) {
    throw;  // the worker ends as out of memory
  } catch (const std::exception& error) {
    entry.render_error = error.what();
  }
}

}  // namespace gallery
