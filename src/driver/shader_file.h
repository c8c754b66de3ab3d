// A shader file read once: the refusal probes and the converter all work on
// this one reading, so a shader is opened and read a single time.
#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"

namespace driver {

struct ShaderFile {
  platform::ReadStatus status = platform::ReadStatus::cannot_open;
  std::string text;  // as far as it was read: all of it only when status is `read`
  std::optional<platform::FileId> identity;  // of the file opened
  std::optional<platform::FileStamp> stamp;  // of a regular file, as it was opened
};

// Reads the whole file; a file larger than memory ends in std::bad_alloc
// before its first byte is read.
ShaderFile read_shader_file(const std::string& path);

}  // namespace driver
