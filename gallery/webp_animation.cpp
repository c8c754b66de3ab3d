// Lossy frames at a middling quality and the encoder's quick method: the
// pictures are previews, and a gallery of hundreds must encode quickly.
#include "webp_animation.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <memory>
#include <stdexcept>

namespace gallery {
namespace {

constexpr float frame_quality = 70.0f;
constexpr int encoder_method = 1;  // 0 fastest .. 6 smallest

struct EncoderDeleter {
  void operator()(WebPAnimEncoder* encoder) const { WebPAnimEncoderDelete(encoder); }
};

struct PictureFree {
  void operator()(WebPPicture* picture) const { WebPPictureFree(picture); }
};

}  // namespace

std::string encode_animation(const std::vector<render::RgbaImage>& frames, int fps) {
  if (frames.empty()) throw std::runtime_error("an animation needs frames");
  const int width = frames.front().width;
  const int height = frames.front().height;

  WebPAnimEncoderOptions options;
  if (!WebPAnimEncoderOptionsInit(&options)) throw std::runtime_error("libwebp version mismatch");
  options.anim_params.loop_count = 0;  // forever
  std::unique_ptr<WebPAnimEncoder, EncoderDeleter> encoder(
      WebPAnimEncoderNew(width, height, &options));
  if (!encoder) throw std::runtime_error("cannot start the WebP animation encoder");

  WebPConfig config;
  if (!WebPConfigInit(&config)) throw std::runtime_error("libwebp version mismatch");
  config.quality = frame_quality;
  config.method = encoder_method;

  for (std::size_t i = 0; i < frames.size(); ++i) {
    WebPPicture picture;
    if (!WebPPictureInit(&picture)) throw std::runtime_error("libwebp version mismatch");
    picture.width = width;
    picture.height = height;
    picture.use_argb = 1;
    std::unique_ptr<WebPPicture, PictureFree> owned(&picture);
    if (!WebPPictureImportRGBA(&picture, frames[i].pixels.data(), width * 4))
      throw std::runtime_error("cannot import an animation frame");
    int timestamp = static_cast<int>(i * 1000 / static_cast<std::size_t>(fps));
    if (!WebPAnimEncoderAdd(encoder.get(), &picture, timestamp, &config))
      throw std::runtime_error(std::string("cannot encode an animation frame: ") +
                               WebPAnimEncoderGetError(encoder.get()));
  }
  // The last frame lasts until the loop starts again.
  int end = static_cast<int>(frames.size() * 1000 / static_cast<std::size_t>(fps));
  if (!WebPAnimEncoderAdd(encoder.get(), nullptr, end, nullptr))
    throw std::runtime_error("cannot close the animation");

  WebPData data;
  WebPDataInit(&data);
  if (!WebPAnimEncoderAssemble(encoder.get(), &data))
    throw std::runtime_error("cannot assemble the animation");
  std::string bytes(reinterpret_cast<const char*>(data.bytes), data.size);
  WebPDataClear(&data);
  return bytes;
}

}  // namespace gallery
