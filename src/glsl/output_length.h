// Stands in for the output string on a first walk that only measures it, so
// that the second walk writes into one allocation of the exact size: bodies
// can be hundreds of MB, and a growing string would briefly hold two copies.
#pragma once

#include <cstddef>
#include <string_view>

namespace glsl {

// Room kept at the end of a rebuilt body, so that the comment, define and
// uniform blocks can go in front of it at the end without a new buffer.
constexpr std::size_t kBodySlack = std::size_t{1} << 16;

struct OutputLength {
  std::size_t size = 0;
  void reserve(std::size_t) {}
  OutputLength& operator+=(std::string_view text) {
    size += text.size();
    return *this;
  }
  OutputLength& operator+=(char) {
    ++size;
    return *this;
  }
};

}  // namespace glsl
