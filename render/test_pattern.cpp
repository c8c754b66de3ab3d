// The built-in test pattern: two ramps and a checkerboard.
#include "test_pattern.h"

#include <cstdint>

namespace render {

namespace {

std::uint8_t ramp(int i, int count) {
  return count <= 1 ? 0 : static_cast<std::uint8_t>((i * 255 + (count - 1) / 2) / (count - 1));
}

}  // namespace

RgbaImage make_test_pattern(int width, int height) {
  RgbaImage image(width, height);
  for (int y = 0; y < height; ++y) {
    int from_bottom = height - 1 - y;
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = image.at(x, y);
      p[0] = ramp(x, width);
      p[1] = ramp(from_bottom, height);
      p[2] = ((x / 16 + from_bottom / 16) % 2 == 0) ? 255 : 0;
      p[3] = 255;
    }
  }
  return image;
}

}  // namespace render
