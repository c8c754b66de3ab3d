// The colour code: each component clamped, scaled to a byte and truncated.
#include "params/color_code.h"

#include <cmath>
#include <cstdio>

#include "params/color_code.h"

namespace params {
namespace {

// Clamped to [0, 1] (NaN counts as 0), then scaled and truncated: 0.5 gives
// 127, 1.0 gives 255.
unsigned channel_byte(float component) {
  float clamped = (std::isnan(component) || component < 0.0f) ? 0.0f : std::fmin(component, 1.0f);
  return static_cast<unsigned>(static_cast<double>(clamped) * 255.0);
}

}  // namespace

std::string color_code(float red, float green, float blue, float alpha) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02X%02X%02X%02X", channel_byte(alpha), channel_byte(red),
                channel_byte(green), channel_byte(blue));
  return buffer;
}

}  // namespace params
