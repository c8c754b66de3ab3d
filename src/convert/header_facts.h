// The header members that the gallery shows (credit, description, categories)
// and those that explain a failed compile (the inputs' types, IMPORTED images),
// read with the converter's own source reader and header parser.
#pragma once

#include <string>

#include "shader_entry.h"

namespace gallery {

// What the header of the shader file text holds; empty facts, or as many as
// were read, when the header is missing or not valid JSON.
HeaderFacts read_header_facts(const std::string& fs_text);

}  // namespace gallery
