// PNG files through libpng's simplified API, which converts every colour type
// and bit depth to 8-bit RGBA on reading.
#include "png_io.h"

#include <png.h>

#include <stdexcept>

namespace render {

RgbaImage read_png(const std::string& path) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str()))
    throw std::runtime_error("cannot read the PNG image " + path + ": " + png.message);
  png.format = PNG_FORMAT_RGBA;
  RgbaImage image(static_cast<int>(png.width), static_cast<int>(png.height));
  if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) {
    std::string message = png.message;
    png_image_free(&png);
    throw std::runtime_error("cannot read the PNG image " + path + ": " + message);
  }
  return image;
}

void write_png(const std::string& path, const RgbaImage& image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = PNG_FORMAT_RGBA;
  if (!png_image_write_to_file(&png, path.c_str(), 0, image.pixels.data(), 0, nullptr))
    throw std::runtime_error("cannot write the PNG image " + path + ": " + png.message);
}

std::vector<unsigned char> encode_png(const RgbaImage& image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&png, nullptr, &size, 0, image.pixels.data(), 0, nullptr))
    throw std::runtime_error(std::string("cannot encode a PNG image: ") + png.message);
  std::vector<unsigned char> bytes(size);
  if (!png_image_write_to_memory(&png, bytes.data(), &size, 0, image.pixels.data(), 0, nullptr))
    throw std::runtime_error(std::string("cannot encode a PNG image: ") + png.message);
  bytes.resize(size);
  return bytes;
}

}  // namespace render
