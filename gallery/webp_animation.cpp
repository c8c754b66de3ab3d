// Lossy frames at a middling quality and the encoder's quick method: the
// pictures are previews, and a gallery of hundreds must encode quickly.
#include "webp_animation.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <stdexcept>

namespace gallery {
namespace {

constexpr float frame_quality = 70.0f;
constexpr int encoder_method = 1;  // 0 fastest .. 6 smallest

struct PictureFree {
  void operator()(WebPPicture* picture) const { WebPPictureFree(picture); }
};

int timestamp_ms(int frame, int fps) {
  return static_cast<int>(static_cast<long long>(frame) * 1000 / fps);
}

}  // namespace

void AnimationEncoder::EncoderDeleter::operator()(WebPAnimEncoder* encoder) const {
  WebPAnimEncoderDelete(encoder);
}

AnimationEncoder::AnimationEncoder(int width, int height, int fps)
    : width_(width), height_(height), fps_(fps) {
  WebPAnimEncoderOptions options;
  if (!WebPAnimEncoderOptionsInit(&options)) throw std::runtime_error("libwebp version mismatch");
  options.anim_params.loop_count = 0;  // forever
  encoder_.reset(WebPAnimEncoderNew(width, height, &options));
  if (!encoder_) throw std::runtime_error("cannot start the WebP animation encoder");
}

AnimationEncoder::~AnimationEncoder() = default;

void AnimationEncoder::add(const render::RgbaImage& frame) {
  WebPConfig config;
  WebPPicture picture;
  if (!WebPConfigInit(&config) || !WebPPictureInit(&picture))
    throw std::runtime_error("libwebp version mismatch");
  config.quality = frame_quality;
  config.method = encoder_method;
  picture.width = width_;
  picture.height = height_;
  picture.use_argb = 1;
  std::unique_ptr<WebPPicture, PictureFree> owned(&picture);
  if (!WebPPictureImportRGBA(&picture, frame.pixels.data(), width_ * 4))
    throw std::runtime_error("cannot import an animation frame");
  if (!WebPAnimEncoderAdd(encoder_.get(), &picture, timestamp_ms(frames_, fps_), &config))
    throw std::runtime_error(std::string("cannot encode an animation frame: ") +
                             WebPAnimEncoderGetError(encoder_.get()));
  ++frames_;
}

std::string AnimationEncoder::finish() {
  if (frames_ == 0) throw std::runtime_error("an animation needs frames");
  // The last frame lasts until the loop starts again.
  if (!WebPAnimEncoderAdd(encoder_.get(), nullptr, timestamp_ms(frames_, fps_), nullptr))
    throw std::runtime_error("cannot close the animation");
  WebPData data;
  WebPDataInit(&data);
  if (!WebPAnimEncoderAssemble(encoder_.get(), &data))
    throw std::runtime_error("cannot assemble the animation");
  std::string bytes(reinterpret_cast<const char*>(data.bytes), data.size);
  WebPDataClear(&data);
  return bytes;
}

}  // namespace gallery
