// The shaders that an input path names: the one ".fs" file, or the regular
// ".fs" files directly inside a folder. isf2orvy's batch and the gallery
// both take their shaders from here.
#pragma once

#include <string>
#include <vector>

#include "driver/listed_folder.h"

namespace driver {

enum class InputKind {
  shader,   // a regular file whose extension is exactly "fs"
  folder,   // a directory
  invalid,  // anything else, a path that does not exist included
};

struct ShaderInput {
  InputKind kind = InputKind::invalid;
  std::string path;  // as given; a folder's ends in the separator
};

ShaderInput classify_input(std::string input_path);

// The shader list of a valid input, complete before the first conversion:
// the shader alone, or the folder's shaders in listing order. For a folder,
// `listed` (when given) receives its listing.
std::vector<std::string> list_shaders(const ShaderInput& input, ListedFolder* listed = nullptr);

}  // namespace driver
