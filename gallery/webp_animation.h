// Short looping animations as animated WebP files (libwebp's animation
// encoder), which browsers show in an <img> like any picture.
#pragma once

#include <string>
#include <vector>

#include "image.h"

namespace gallery {

// The frames, all of one size, shown `fps` per second and looping forever,
// as the bytes of a WebP file. Throws std::runtime_error when encoding fails.
std::string encode_animation(const std::vector<render::RgbaImage>& frames, int fps);

}  // namespace gallery
