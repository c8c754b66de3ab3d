// OSMesa renders into a buffer of ours; the compatibility profile keeps the
// fixed-function vertex stage, which feeds gl_TexCoord[0] from glTexCoord as
// the host's own drawing does, so the program needs no vertex shader.
#define GL_GLEXT_PROTOTYPES 1
#include "gl_context.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/osmesa.h>

#include <cstdio>
#include <cstring>
#include <utility>

namespace render {

namespace {

OSMesaContext as_context(void* context) { return static_cast<OSMesaContext>(context); }

// The info log of a shader or a program: the two differ only in the calls
// that read it.
template <typename GetParameter, typename GetLog>
std::string info_log(GLuint object, GetParameter get_parameter, GetLog get_log) {
  GLint length = 0;
  get_parameter(object, GL_INFO_LOG_LENGTH, &length);
  std::string log(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
  if (length > 0) get_log(object, length, nullptr, log.data());
  while (!log.empty() && log.back() == '\0') log.pop_back();
  return log;
}

}  // namespace

OffscreenContext::OffscreenContext(int width, int height)
    : width_(width), height_(height), buffer_(static_cast<std::size_t>(width) * height * 4) {
  // clang-format off
  const int attributes[] = {OSMESA_FORMAT, OSMESA_RGBA,
                            OSMESA_DEPTH_BITS, 0,
                            OSMESA_STENCIL_BITS, 0,
                            OSMESA_ACCUM_BITS, 0,
                            OSMESA_PROFILE, OSMESA_COMPAT_PROFILE,
                            0};
  // clang-format on
  OSMesaContext context = OSMesaCreateContextAttribs(attributes, nullptr);
  if (context == nullptr) context = OSMesaCreateContextExt(OSMESA_RGBA, 0, 0, 0, nullptr);
  if (context == nullptr) throw std::runtime_error("cannot create an OSMesa context");
  context_ = context;
  if (!OSMesaMakeCurrent(context, buffer_.data(), GL_UNSIGNED_BYTE, width, height)) {
    OSMesaDestroyContext(context);
    throw std::runtime_error("cannot make the OSMesa context current");
  }
}

OffscreenContext::~OffscreenContext() {
  release_program();
  OSMesaDestroyContext(as_context(context_));
}

void OffscreenContext::release_program() {
  if (!textures_.empty())
    glDeleteTextures(static_cast<GLsizei>(textures_.size()), textures_.data());
  textures_.clear();
  if (program_ != 0) glDeleteProgram(program_);
  program_ = 0;
}

void OffscreenContext::use_fragment_program(const std::string& source) {
  release_program();
  GLuint shader = glCreateShader(GL_FRAGMENT_SHADER);
  const char* text = source.c_str();
  GLint length = static_cast<GLint>(source.size());
  glShaderSource(shader, 1, &text, &length);
  glCompileShader(shader);
  GLint compiled = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
  if (compiled != GL_TRUE) {
    std::string log = info_log(shader, glGetShaderiv, glGetShaderInfoLog);
    glDeleteShader(shader);
    throw ShaderError("the shader does not compile:\n", std::move(log));
  }
  program_ = glCreateProgram();
  glAttachShader(program_, shader);
  glLinkProgram(program_);
  glDeleteShader(shader);
  GLint linked = GL_FALSE;
  glGetProgramiv(program_, GL_LINK_STATUS, &linked);
  if (linked != GL_TRUE) {
    std::string log = info_log(program_, glGetProgramiv, glGetProgramInfoLog);
    release_program();
    throw ShaderError("the shader does not link:\n", std::move(log));
  }
  glUseProgram(program_);
}

void OffscreenContext::bind_texture(int unit, const RgbaImage& image) {
  // OpenGL's first row is the bottom one.
  std::vector<unsigned char> rows(image.pixels.size());
  std::size_t row_bytes = static_cast<std::size_t>(image.width) * 4;
  for (int y = 0; y < image.height; ++y)
    std::memcpy(&rows[(image.height - 1 - y) * row_bytes], image.at(0, y), row_bytes);

  GLuint texture = 0;
  glGenTextures(1, &texture);
  textures_.push_back(texture);
  glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
  glBindTexture(GL_TEXTURE_2D, texture);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
               rows.data());
  glActiveTexture(GL_TEXTURE0);
}

RgbaImage OffscreenContext::draw_frame() {
  glViewport(0, 0, width_, height_);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT);

  glBegin(GL_QUADS);
  glTexCoord2f(0.0f, 0.0f);
  glVertex2f(-1.0f, -1.0f);
  glTexCoord2f(1.0f, 0.0f);
  glVertex2f(1.0f, -1.0f);
  glTexCoord2f(1.0f, 1.0f);
  glVertex2f(1.0f, 1.0f);
  glTexCoord2f(0.0f, 1.0f);
  glVertex2f(-1.0f, 1.0f);
  glEnd();
  glFinish();
  GLenum error = glGetError();
  if (error != GL_NO_ERROR) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%04X", static_cast<unsigned>(error));
    throw std::runtime_error(std::string("OpenGL error ") + code + " while drawing");
  }

  RgbaImage frame(width_, height_);
  std::vector<unsigned char> rows(frame.pixels.size());
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
  std::size_t row_bytes = static_cast<std::size_t>(width_) * 4;
  for (int y = 0; y < height_; ++y)
    std::memcpy(frame.at(0, y), &rows[(height_ - 1 - y) * row_bytes], row_bytes);
  return frame;
}

}  // namespace render
