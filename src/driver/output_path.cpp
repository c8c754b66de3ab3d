// Output naming: only the last "." splits the extension, and only the last
// separator splits the base name.
#include "driver/output_path.h"

#include "platform/platform.h"

namespace driver {

ShaderName split_shader_path(const std::string& shader_path) {
  ShaderName name;
  std::size_t dot = shader_path.rfind('.');
  if (dot != std::string::npos) {
    name.stem = shader_path.substr(0, dot);
    name.extension = shader_path.substr(dot + 1);
  }
  std::size_t slash = name.stem.rfind(platform::separator);
  if (slash == std::string::npos) {
    name.base_name = name.stem;
  } else {
    name.directory_part = name.stem.substr(0, slash);
    name.base_name = name.stem.substr(slash + 1);
  }
  return name;
}

std::string with_directory_separator(const std::string& output_path, FileKind output_kind) {
  if (output_path.empty() || output_kind != FileKind::directory ||
      output_path.back() == platform::separator)
    return output_path;
  return output_path + platform::separator;
}

std::string output_file_path(const ShaderName& shader, const std::string& output_path,
                             FileKind output_kind, const std::string& output_extension) {
  if (output_path.empty()) {
    // Beside the shader; a bare file name stays in the current directory.
    return shader.stem + output_extension;
  }
  if (output_kind == FileKind::regular_file) return output_path;
  // An existing directory ends in a separator by now; any other output path
  // is a prefix of the file name.
  return output_path + shader.base_name + output_extension;
}

}  // namespace driver
