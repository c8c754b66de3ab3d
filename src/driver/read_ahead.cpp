// The early reading and conversion of a batch's shader, and the look that
// tells whether it stands.
#include "driver/read_ahead.h"

#include <utility>

#include "driver/file_probes.h"
#include "driver/shader_file.h"

namespace driver {

ReadAhead read_ahead(const std::string& shader_path) noexcept {
  ReadAhead ahead;
  try {
    ShaderFile file = read_shader_file(shader_path);
    if (file.status != platform::ReadStatus::read || !file.stamp) return ahead;
    ahead.several_passes = mentions_multiple_passes(file.text);
    if (!ahead.several_passes)
      ahead.conversion = convert::convert_source(std::move(file.text), /*with_details=*/false);
    ahead.stamp = file.stamp;
  } catch (...) {
    // Running out of memory, say: the shader's turn does it all again.
    ahead = ReadAhead{};
  }
  return ahead;
}

bool still_current(const ReadAhead& ahead, const std::string& shader_path) {
  return ahead.stamp && platform::file_stamp(shader_path) == ahead.stamp;
}

}  // namespace driver
