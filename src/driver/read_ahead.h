// A shader read and converted before its turn in a batch (on another thread,
// while the shaders ahead of it are written). At its turn the file is looked
// at once more, and the early work stands only if it is the same file,
// unchanged since it was read; otherwise the shader is read again then.
#pragma once

#include <optional>
#include <string>

#include "convert/convert_source.h"
#include "platform/platform.h"

namespace driver {

struct ReadAhead {
  // Set only when the whole of a regular file was read and converted (or
  // found to have several passes) without anything unexpected.
  std::optional<platform::FileStamp> stamp;
  bool several_passes = false;
  convert::SourceConversion conversion;  // when not several_passes
  // The text already written beside its output file, when the thread had
  // time for it: taken at the shader's turn if it writes there, else
  // removed.
  platform::StagedOutput staged;
  std::string staged_for;  // the output file path
};

// Reads and converts the shader as its turn would; touches no other file.
ReadAhead read_ahead(const std::string& shader_path) noexcept;

// True when the early work on the shader stands: the path names the very
// file that was read, with the same stamp.
bool still_current(const ReadAhead& ahead, const std::string& shader_path);

}  // namespace driver
