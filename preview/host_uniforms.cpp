// Uniform binding by name through the program's active uniforms. The names
// are the host's: the converter declares exactly these for the ISF built-ins
// and image inputs, and one uniform per parameter named like the parameter.
#define GL_GLEXT_PROTOTYPES 1
#include "host_uniforms.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace preview {

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

GLint location(unsigned program, const std::string& name) {
  return glGetUniformLocation(program, name.c_str());
}

// A uniform whose declared type differs from the one the host sets fails the
// glUniform call; say which one instead of failing later without a name.
void check_set(const std::string& name) {
  if (glGetError() != GL_NO_ERROR)
    throw std::runtime_error("the uniform " + name + " does not have the type the host gives it");
}

void bind_parameter(unsigned program, const HostParameter& parameter) {
  GLint at = location(program, parameter.name);
  if (at < 0) return;
  const auto& v = parameter.value;
  switch (parameter.kind) {
    case params::MacroKind::float_range:
      glUniform1f(at, static_cast<float>(v[0]));
      break;
    case params::MacroKind::int_range:
    case params::MacroKind::int_onoff:
      glUniform1i(at, static_cast<GLint>(v[0]));
      break;
    case params::MacroKind::color:
      glUniform4f(at, static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2]),
                  static_cast<float>(v[3]));
      break;
  }
  check_set(parameter.name);
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
    int n = std::max(numbered(uniform, "tex"), numbered(uniform, "resolution_tex"));
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
    GLint sampler = location(program, "tex" + number);
    if (sampler >= 0) glUniform1i(sampler, static_cast<GLint>(n));
    check_set("tex" + number);
    GLint size = location(program, "resolution_tex" + number);
    if (size >= 0)
      glUniform2f(size, static_cast<float>(images[n].width), static_cast<float>(images[n].height));
    check_set("resolution_tex" + number);
  }

  if (GLint at = location(program, "resolution"); at >= 0)
    glUniform2f(at, static_cast<float>(context.width()), static_cast<float>(context.height()));
  check_set("resolution");
  if (GLint at = location(program, "time"); at >= 0)
    glUniform1f(at, static_cast<float>(frame.time));
  check_set("time");
  if (GLint at = location(program, "time_delta"); at >= 0)
    glUniform1f(at, static_cast<float>(frame.time_delta));
  check_set("time_delta");
  if (GLint at = location(program, "iDate"); at >= 0)
    glUniform4f(at, static_cast<float>(frame.date[0]), static_cast<float>(frame.date[1]),
                static_cast<float>(frame.date[2]), static_cast<float>(frame.date[3]));
  check_set("iDate");
  if (GLint at = location(program, "iFrame"); at >= 0) glUniform1i(at, frame.frame);
  check_set("iFrame");

  for (const HostParameter& parameter : parameters) bind_parameter(program, parameter);
}

}  // namespace preview
