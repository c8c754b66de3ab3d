// Progress on standard error while the shaders are compiled and rendered: a
// bar redrawn in place on a terminal, one plain line per shader otherwise.
#pragma once

#include <cstddef>
#include <mutex>

#include "shader_entry.h"

namespace gallery {

class Progress {
 public:
  Progress(std::size_t total, bool terminal);
  // Called by any worker when it is done with a shader.
  void advance(const ShaderEntry& entry);
  // Clears the bar from the terminal line.
  void finish();

 private:
  std::mutex mutex_;
  std::size_t total_;
  std::size_t done_ = 0;
  bool terminal_;
};

}  // namespace gallery
