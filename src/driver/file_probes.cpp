// Path and file probes over the platform layer. The multi-pass probe searches
// the shader text the driver read, or, for a file too large to hold, the file
// piece by piece in little memory.
#include "driver/file_probes.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "platform/platform.h"

namespace driver {
namespace {

// The words that mark a shader of several passes, wherever they stand.
constexpr std::string_view multi_pass_markers[] = {"\"PASSES\"", "PASSINDEX"};

FileKind kind_of(platform::StatKind kind) {
  switch (kind) {
    case platform::StatKind::directory: return FileKind::directory;
    case platform::StatKind::regular_file: return FileKind::regular_file;
    case platform::StatKind::other: return FileKind::other;
    case platform::StatKind::failed: break;
  }
  return FileKind::status_failed;
}

}  // namespace

FileKind file_kind(const std::string& path) { return kind_of(platform::stat_kind(path)); }

bool extension_equals(const std::string& path, const std::string& extension) {
  std::size_t dot = path.rfind('.');
  if (dot == std::string::npos) return false;
  return path.compare(dot + 1, std::string::npos, extension) == 0;
}

std::string vertex_companion(const std::string& path, const ListedFolder* listed) {
  if (!extension_equals(path, "fs")) return {};
  std::string candidate = path.substr(0, path.rfind('.')) + ".vs";
  if (listed != nullptr && !may_exist(*listed, candidate)) return {};
  return platform::opens_for_reading(candidate) ? candidate : std::string();
}

bool mentions_multiple_passes(std::string_view text) {
  for (std::string_view marker : multi_pass_markers)
    if (text.find(marker) != std::string_view::npos) return true;
  return false;
}

bool has_multiple_passes(const std::string& path) {
  constexpr std::size_t longest =
      std::max(multi_pass_markers[0].size(), multi_pass_markers[1].size());
  // Each piece is searched together with the end of the one before it, so
  // that a marker split between two pieces is found; the memory stays the
  // same whatever the file's size.
  std::string window;
  bool found = false;
  platform::read_in_pieces(path, [&](std::string_view piece) {
    window.append(piece);
    found = mentions_multiple_passes(window);
    window.erase(0, window.size() - std::min(window.size(), longest - 1));
    return !found;
  });
  return found;
}

bool is_isf_shader(const platform::OutputFile& output) {
  if (output.kind == platform::StatKind::failed || output.kind == platform::StatKind::directory)
    return false;
  const std::string& final_path = output.final_path;
  if (final_path.size() < 3) return false;
  std::string ending = final_path.substr(final_path.size() - 3);
  for (char& c : ending)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return ending == ".fs" || ending == ".vs";
}

std::vector<std::string> list_directory(const std::string& directory) {
  std::vector<std::string> names;
  for (platform::DirectoryEntry& entry : platform::list_entries(directory).value_or(
           std::vector<platform::DirectoryEntry>{}))
    names.push_back(std::move(entry.name));
  return names;
}

// The kind that the listing told is the answer file_kind would give.
std::vector<std::string> shaders_in_directory(const std::string& directory,
                                              ListedFolder* listed) {
  std::vector<std::string> shaders;
  std::vector<platform::DirectoryEntry> entries =
      platform::list_entries(directory).value_or(std::vector<platform::DirectoryEntry>{});
  if (listed != nullptr) *listed = listed_folder(directory, entries);
  for (const platform::DirectoryEntry& entry : entries) {
    std::string path = directory + entry.name;
    FileKind kind = entry.kind ? kind_of(*entry.kind) : file_kind(path);
    if (kind == FileKind::regular_file && extension_equals(path, "fs")) shaders.push_back(path);
  }
  return shaders;
}

}  // namespace driver
