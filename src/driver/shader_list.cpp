// The input's kind decides the list; the folder is listed only when asked,
// so that the caller can refuse its other arguments first.
#include "driver/shader_list.h"

#include <utility>

#include "driver/file_probes.h"
#include "platform/platform.h"

namespace driver {

ShaderInput classify_input(std::string input_path) {
  FileKind kind = file_kind(input_path);
  if (kind == FileKind::directory) {
    if (!input_path.empty() && input_path.back() != platform::separator)
      input_path += platform::separator;
    return {InputKind::folder, std::move(input_path)};
  }
  if (kind == FileKind::regular_file && extension_equals(input_path, "fs"))
    return {InputKind::shader, std::move(input_path)};
  return {InputKind::invalid, std::move(input_path)};
}

std::vector<std::string> list_shaders(const ShaderInput& input, ListedFolder* listed) {
  switch (input.kind) {
    case InputKind::shader: return {input.path};
    case InputKind::folder: return shaders_in_directory(input.path, listed);
    case InputKind::invalid: break;
  }
  return {};
}

}  // namespace driver
