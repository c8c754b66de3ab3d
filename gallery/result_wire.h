// What a worker process sends back about one shader: its compile, explanation
// and picture fields as bytes, and read back into the parent's entry. Strings
// go as a length and their bytes, numbers as four bytes, little end first.
#pragma once

#include <string>
#include <string_view>

#include "shader_entry.h"

namespace gallery {

std::string encode_result(const ShaderEntry& entry);

// Fills the entry's compile, explanation and picture fields; false when the
// bytes are not a whole result.
bool decode_result(std::string_view bytes, ShaderEntry& entry);

}  // namespace gallery
