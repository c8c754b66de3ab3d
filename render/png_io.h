// Reading and writing PNG files as 8-bit RGBA pictures (libpng).
#pragma once

#include <string>
#include <vector>

#include "image.h"

namespace render {

// Any PNG colour type comes back as RGBA. Throws std::runtime_error with a
// message naming the file when it cannot be read.
RgbaImage read_png(const std::string& path);

// Throws std::runtime_error when the file cannot be written.
void write_png(const std::string& path, const RgbaImage& image);

// The bytes of a PNG file of the picture. Throws std::runtime_error.
std::vector<unsigned char> encode_png(const RgbaImage& image);

}  // namespace render
