// The converter's part of the gallery: the shader list of INPUT, and each
// shader down isf2orvy's own road (probes, reading, output path, conversion,
// writing the .frag file where `isf2orvy INPUT GALLERY_DIR` would).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "shader_entry.h"

namespace gallery {

// The shaders of INPUT as the converter lists them: the regular .fs files
// directly inside a folder, in listing order, or the one .fs file. Nothing
// when INPUT is neither.
std::optional<std::vector<std::string>> list_shaders(const std::string& input_path);

// Converts one shader into the gallery folder (which ends in the separator)
// and returns everything but the compile and render results.
ShaderEntry convert_entry(const std::string& shader_path, const std::string& gallery_folder);

}  // namespace gallery
