// Plain-words explanations of compile failures whose cause is a known gap
// between ISF and what the host compiles.
#pragma once

#include <string>
#include <vector>

#include "shader_entry.h"

namespace gallery {

// Every explanation that the entry's error messages call for, each once, in
// the order of the first message that calls for it.
std::vector<std::string> explain_failure(const ShaderEntry& entry);

}  // namespace gallery
