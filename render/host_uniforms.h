// Hands a converted shader its uniforms the way the host does: the image
// inputs tex<N> with their sizes resolution_tex<N>, the frame's resolution,
// time, time_delta, iDate and iFrame, and every plug-in parameter.
#pragma once

#include <array>
#include <vector>
#include <string>
#include <string_view>

#include "gl_context.h"
#include "glsl/rules/rule_tables.h"
#include "host_parameters.h"
#include "image.h"

namespace render {

struct FrameValues {
  double time = 0.0;
  double time_delta = 0.0;
  int frame = 0;
  std::array<double, 4> date{};  // year, month (1 to 12), day, seconds since midnight
};

// The number of image inputs the current program uses: one more than the
// highest N of an active uniform named tex<N> or resolution_tex<N>, or 0.
int image_slot_count(unsigned program);

// Binds `images[N]` as tex<N> on texture unit N and sets resolution_tex<N> to
// its size, for every image; then the built-in values and the parameters.
// Uniforms that the program does not use are skipped, as the host skips them.
void bind_host_uniforms(OffscreenContext& context, const std::vector<RgbaImage>& images,
                        const FrameValues& frame, const std::vector<HostParameter>& parameters);

// Sets only the built-in values (resolution, time, time_delta, iDate, iFrame)
// of the current program: what changes from one frame to the next.
void set_frame_uniforms(const OffscreenContext& context, const FrameValues& frame);

// True when the program uses time, time_delta, iDate or iFrame: its frames
// change over time.
bool uses_frame_clock(unsigned program);

// What a built-in uniform holds, for a renderer outside this library (the
// gallery's page binds the same names in the browser): the GLSL type of the
// value the host sets, and one of "frame_size" (width and height in pixels),
// "time", "time_delta" (seconds), "date" (as FrameValues::date) and
// "frame_index".
struct HostUniformMeaning {
  std::string_view name;
  const char* glsl_type;
  const char* value;
};
std::vector<HostUniformMeaning> builtin_uniform_meanings();

// The GLSL type of the value the host sets for a parameter of `kind`:
// "float", "int" (on/off too) or "vec4" (a colour, red to alpha from 0 to 1).
const char* parameter_uniform_type(params::MacroKind kind);

// The names of image input N: the sampler prefix + N on texture unit N, sampled
// without filtering and clamped at the edges, and its size in pixels,
// size prefix + N.
inline const std::string image_sampler_prefix{glsl::kHost.sampler_prefix};
inline const std::string image_size_prefix = std::string(glsl::kHost.size_prefix) + image_sampler_prefix;

// Year, month, day and seconds since midnight of the local time now.
std::array<double, 4> local_date_now();

}  // namespace render
