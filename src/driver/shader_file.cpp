// The one reading of a shader file, through the platform layer.
#include "driver/shader_file.h"

namespace driver {

ShaderFile read_shader_file(const std::string& path) {
  ShaderFile file;
  file.status = platform::read_file(path, file.text, file.identity, &file.stamp);
  return file;
}

}  // namespace driver
