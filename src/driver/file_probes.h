// Queries the driver asks of paths and files before converting: the kind of
// a path, its extension, a vertex-shader companion, the multi-pass markers,
// and the names in a directory. None prints or changes anything.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "driver/listed_folder.h"
#include "platform/platform.h"

namespace driver {

enum class FileKind { regular_file, directory, other, status_failed };

FileKind file_kind(const std::string& path);

// True when the text after the last "." of the whole path equals `extension`
// byte for byte; false when the path has no ".".
bool extension_equals(const std::string& path, const std::string& extension);

// For "x.fs", the path "x.vs" when that opens for reading; else empty.
// With the shader's folder as listed, a name the listing rules out is not
// tried.
std::string vertex_companion(const std::string& path, const ListedFolder* listed = nullptr);

// True when the shader text contains "\"PASSES\"" or "PASSINDEX" anywhere.
bool mentions_multiple_passes(std::string_view text);

// The same test on the file's text; false when the file cannot be read.
// Reads in bounded memory, for a file too large to hold.
bool has_multiple_passes(const std::string& path);

// True when the output path names an existing file (not a directory) whose
// final name, symbolic links followed, ends in ".fs" or ".vs" in any letter
// case: an ISF shader or its vertex shader, which no output may replace.
bool is_isf_shader(const platform::OutputFile& output);

// Every entry name of the directory, "." and ".." included; empty when the
// directory cannot be searched.
std::vector<std::string> list_directory(const std::string& directory);

// The shader list of a directory: the paths `directory` + name of its
// regular files with the extension "fs", in listing order. `directory` ends
// in the separator. `listed`, when given, receives the folder's listing.
std::vector<std::string> shaders_in_directory(const std::string& directory,
                                              ListedFolder* listed = nullptr);

}  // namespace driver
