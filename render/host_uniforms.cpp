// Uniform binding by name through the program's active uniforms. The names
// are the host's: the converter declares exactly these for the ISF built-ins
// and image inputs, and one uniform per parameter named like the parameter.
#define GL_GLEXT_PROTOTYPES 1
#include "host_uniforms.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <stdexcept>
#include <string>
#include <string_view>

#include "glsl/rules/rule_tables.h"

namespace render {

namespace {

// N for the name prefix + N (decimal digits only), or -1.
int numbered(const std::string& name, const std::string& prefix) {
  if (name.compare(0, prefix.size(), prefix) != 0 || name.size() == prefix.size() ||
      name.size() > prefix.size() + 4)
    return -1;
  for (std::size_t i = prefix.size(); i < name.size(); ++i)
    if (name[i] < '0' || name[i] > '9') return -1;
  return std::atoi(name.c_str() + prefix.size());
}

// Sets the uniform `name` through `set` when the program uses it. A uniform
// whose declared type differs from the one the host sets fails the glUniform
// call; say which one instead of failing later without a name.
template <typename Set>
void set_uniform(unsigned program, const std::string& name, Set set) {
  GLint at = glGetUniformLocation(program, name.c_str());
  if (at < 0) return;
  set(at);
  if (glGetError() != GL_NO_ERROR)
    throw std::runtime_error("the uniform " + name + " does not have the type the host gives it");
}

// The sampler and size uniform of image N: tex<N>, resolution_tex<N>.
constexpr std::string_view render_size = glsl::host_uniform_of("RENDERSIZE");

// The host's built-in uniforms and the value each gets for a frame.
using BuiltinSetter = void (*)(GLint at, const OffscreenContext& context, const FrameValues& frame);
struct BuiltinUniform {
  HostUniformMeaning meaning;
  BuiltinSetter set;
};

const BuiltinUniform builtin_uniforms[] = {
    {{glsl::host_uniform_of("RENDERSIZE"), "vec2", "frame_size"},
     [](GLint at, const OffscreenContext& context, const FrameValues&) {
       glUniform2f(at, static_cast<float>(context.width()), static_cast<float>(context.height()));
     }},
    {{glsl::host_uniform_of("TIME"), "float", "time"},
     [](GLint at, const OffscreenContext&, const FrameValues& frame) {
       glUniform1f(at, static_cast<float>(frame.time));
     }},
    {{glsl::host_uniform_of("TIMEDELTA"), "float", "time_delta"},
     [](GLint at, const OffscreenContext&, const FrameValues& frame) {
       glUniform1f(at, static_cast<float>(frame.time_delta));
     }},
    {{glsl::host_uniform_of("DATE"), "vec4", "date"},
     [](GLint at, const OffscreenContext&, const FrameValues& frame) {
       const auto& d = frame.date;
       glUniform4f(at, static_cast<float>(d[0]), static_cast<float>(d[1]),
                   static_cast<float>(d[2]), static_cast<float>(d[3]));
     }},
    {{glsl::host_uniform_of("FRAMEINDEX"), "int", "frame_index"},
     [](GLint at, const OffscreenContext&, const FrameValues& frame) {
       glUniform1i(at, frame.frame);
     }},
};

void bind_parameter(unsigned program, const HostParameter& parameter) {
  const auto& v = parameter.value;
  set_uniform(program, parameter.name, [&](GLint at) {
    switch (parameter.kind) {
      case params::MacroKind::float_range:
        glUniform1f(at, static_cast<float>(v[0]));
        break;
      case params::MacroKind::int_range:
      case params::MacroKind::int_onoff:
        glUniform1i(at, static_cast<GLint>(v[0]));
        break;
      case params::MacroKind::color:
        glUniform4f(at, static_cast<float>(v[0]), static_cast<float>(v[1]),
                    static_cast<float>(v[2]), static_cast<float>(v[3]));
        break;
    }
  });
}

}  // namespace

int image_slot_count(unsigned program) {
  GLint count = 0;
  glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
  int slots = 0;
  for (GLint i = 0; i < count; ++i) {
    char name[256];
    GLsizei length = 0;
    GLint size = 0;
    GLenum type = 0;
    glGetActiveUniform(program, static_cast<GLuint>(i), sizeof name, &length, &size, &type, name);
    std::string uniform(name, static_cast<std::size_t>(length));
    int n = std::max(numbered(uniform, image_sampler_prefix), numbered(uniform, image_size_prefix));
    slots = std::max(slots, n + 1);
  }
  return slots;
}

void bind_host_uniforms(OffscreenContext& context, const std::vector<RgbaImage>& images,
                        const FrameValues& frame, const std::vector<HostParameter>& parameters) {
  unsigned program = context.program();
  for (std::size_t n = 0; n < images.size(); ++n) {
    const std::string number = std::to_string(n);
    context.bind_texture(static_cast<int>(n), images[n]);
    set_uniform(program, image_sampler_prefix + number,
                [n](GLint at) { glUniform1i(at, static_cast<GLint>(n)); });
    set_uniform(program, image_size_prefix + number, [&](GLint at) {
      glUniform2f(at, static_cast<float>(images[n].width), static_cast<float>(images[n].height));
    });
  }
  set_frame_uniforms(context, frame);
  for (const HostParameter& parameter : parameters) bind_parameter(program, parameter);
}

void set_frame_uniforms(const OffscreenContext& context, const FrameValues& frame) {
  for (const BuiltinUniform& uniform : builtin_uniforms)
    set_uniform(context.program(), std::string(uniform.meaning.name),
                [&](GLint at) { uniform.set(at, context, frame); });
}

std::vector<HostUniformMeaning> builtin_uniform_meanings() {
  std::vector<HostUniformMeaning> meanings;
  for (const BuiltinUniform& uniform : builtin_uniforms) meanings.push_back(uniform.meaning);
  return meanings;
}

const char* parameter_uniform_type(params::MacroKind kind) {
  switch (kind) {
    case params::MacroKind::float_range: return "float";
    case params::MacroKind::int_range:
    case params::MacroKind::int_onoff: return "int";
    case params::MacroKind::color: return "vec4";
  }
  return "";
}

bool uses_frame_clock(unsigned program) {
  // Every built-in but the render size changes from frame to frame.
  for (const BuiltinUniform& uniform : builtin_uniforms)
    if (uniform.meaning.name != render_size &&
        glGetUniformLocation(program, std::string(uniform.meaning.name).c_str()) >= 0)
      return true;
  return false;
}

std::array<double, 4> local_date_now() {
  std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  if (local == nullptr) return {};
  return {local->tm_year + 1900.0, local->tm_mon + 1.0, double(local->tm_mday),
          local->tm_hour * 3600.0 + local->tm_min * 60.0 + local->tm_sec};
}

}  // namespace render
