// Nodes, passes and lists of the rewriting are numbered in 32 bits, which
// halves their memory for any body under 4 GB; kNone is the number of none.
#pragma once

#include <cstdint>

namespace glsl {

constexpr std::uint32_t kNone = UINT32_MAX;

}  // namespace glsl
