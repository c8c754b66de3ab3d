// Where the converter writes a shader's output: the output path may name an
// existing file (overwritten), an existing directory (receives a file named
// after the shader), nothing (the file lands beside the shader) or anything
// else (a prefix of the file name).
#pragma once

#include <string>

#include "driver/file_probes.h"

namespace driver {

struct ShaderName {
  std::string stem;            // the path up to its last "."
  std::string extension;       // the text after the last "."
  std::string directory_part;  // the stem before its last separator
  std::string base_name;       // the stem after its last separator
};

ShaderName split_shader_path(const std::string& shader_path);

// An existing directory gets a trailing separator; other paths stay as given.
std::string with_directory_separator(const std::string& output_path, FileKind output_kind);

// The output file path for the shader, given the output path (already passed
// through with_directory_separator) and its kind.
std::string output_file_path(const ShaderName& shader, const std::string& output_path,
                             FileKind output_kind, const std::string& output_extension);

}  // namespace driver
