// An offscreen OpenGL compatibility context of Mesa (OSMesa) with an RGBA
// frame of a fixed size: compiles the fragment shader, holds the textures,
// draws the full-frame quad and reads the frame back. No display is needed.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "image.h"

namespace render {

// A shader that does not compile or link; what() holds the headline and the
// compiler's log, log() the log alone.
class ShaderError : public std::runtime_error {
 public:
  ShaderError(const std::string& headline, std::string log)
      : std::runtime_error(headline + log), log_(std::move(log)) {}
  const std::string& log() const { return log_; }

 private:
  std::string log_;
};

class OffscreenContext {
 public:
  // Throws std::runtime_error when no context can be made current.
  OffscreenContext(int width, int height);
  ~OffscreenContext();
  OffscreenContext(const OffscreenContext&) = delete;
  OffscreenContext& operator=(const OffscreenContext&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }

  // Compiles `source` as the fragment stage of a program whose vertex stage
  // is fixed-function, links it and makes it current, in place of the
  // previous program and its textures. Throws ShaderError.
  void use_fragment_program(const std::string& source);
  unsigned program() const { return program_; }

  // Puts `image` on texture unit `unit`, sampled without filtering and
  // clamped at the edges, with its top row at texture coordinate t = 1.
  void bind_texture(int unit, const RgbaImage& image);

  // Draws one quad over the whole frame with gl_TexCoord[0] running from
  // (0, 0) at the lower left to (1, 1) at the upper right, and returns the
  // frame. Throws std::runtime_error when OpenGL reports an error.
  RgbaImage draw_frame();

 private:
  void release_program();

  int width_;
  int height_;
  void* context_ = nullptr;
  std::vector<unsigned char> buffer_;
  unsigned program_ = 0;
  std::vector<unsigned> textures_;
};

}  // namespace render
