// Short looping animations as animated WebP files (libwebp's animation
// encoder), which browsers show in an <img> like any picture. Frames go in
// one at a time as they are drawn, so memory holds a few frames, not all.
#pragma once

#include <memory>
#include <string>

#include "image.h"

struct WebPAnimEncoder;

namespace gallery {

class AnimationEncoder {
 public:
  // Frames of `width` x `height`, shown `fps` per second, looping forever.
  // Throws std::runtime_error when the encoder cannot start.
  AnimationEncoder(int width, int height, int fps);
  ~AnimationEncoder();
  AnimationEncoder(const AnimationEncoder&) = delete;
  AnimationEncoder& operator=(const AnimationEncoder&) = delete;

  // Encodes the next frame; throws std::runtime_error when encoding fails.
  void add(const render::RgbaImage& frame);
  // The bytes of the WebP file of every frame added.
  std::string finish();

 private:
  struct EncoderDeleter {
    void operator()(WebPAnimEncoder* encoder) const;
  };
  std::unique_ptr<WebPAnimEncoder, EncoderDeleter> encoder_;
  int width_;
  int height_;
  int fps_;
  int frames_ = 0;
};

}  // namespace gallery
