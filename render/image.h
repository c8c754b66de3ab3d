// An 8-bit RGBA picture in memory, rows from the top down as PNG stores them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace render {

struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // width * height * 4 bytes, top row first

  RgbaImage() = default;
  RgbaImage(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h * 4) {}

  // The four bytes of the pixel in column x of row y (row 0 at the top).
  std::uint8_t* at(int x, int y) { return &pixels[(static_cast<std::size_t>(y) * width + x) * 4]; }
  const std::uint8_t* at(int x, int y) const {
    return &pixels[(static_cast<std::size_t>(y) * width + x) * 4];
  }
};

}  // namespace render
