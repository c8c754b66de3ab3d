// Path and file probes over the platform layer.
#include "driver/file_probes.h"

#include "platform/platform.h"

namespace driver {

FileKind file_kind(const std::string& path) {
  switch (platform::stat_kind(path)) {
    case platform::StatKind::directory: return FileKind::directory;
    case platform::StatKind::regular_file: return FileKind::regular_file;
    case platform::StatKind::other: return FileKind::other;
    case platform::StatKind::failed: break;
  }
  return FileKind::status_failed;
}

bool extension_equals(const std::string& path, const std::string& extension) {
  std::size_t dot = path.rfind('.');
  if (dot == std::string::npos) return false;
  return path.compare(dot + 1, std::string::npos, extension) == 0;
}

std::string vertex_companion(const std::string& path) {
  if (!extension_equals(path, "fs")) return {};
  std::string candidate = path.substr(0, path.rfind('.')) + ".vs";
  return platform::opens_for_reading(candidate) ? candidate : std::string();
}

bool has_multiple_passes(const std::string& path) {
  std::string text;
  if (!platform::read_file(path, text)) return false;
  return text.find("\"PASSES\"") != std::string::npos ||
         text.find("PASSINDEX") != std::string::npos;
}

std::vector<std::string> list_directory(const std::string& directory) {
  return platform::list_entries(directory).value_or(std::vector<std::string>{});
}

std::vector<std::string> shaders_in_directory(const std::string& directory) {
  std::vector<std::string> shaders;
  for (const std::string& name : list_directory(directory)) {
    std::string path = directory + name;
    if (file_kind(path) == FileKind::regular_file && extension_equals(path, "fs"))
      shaders.push_back(path);
  }
  return shaders;
}

}  // namespace driver
