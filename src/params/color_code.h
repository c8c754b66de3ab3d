// The host's colour parameters take their default as one 32-bit hexadecimal
// number with alpha in the top byte: AARRGGBB.
#pragma once

#include <string>

namespace params {

// Eight upper-case hex digits, alpha first: AARRGGBB of the clamped components.
std::string color_code(float red, float green, float blue, float alpha);

}  // namespace params
