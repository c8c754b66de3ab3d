// GALLERY_DIR/report.json: the gallery's facts for scripts. The schema is
// versioned; README.md describes version 2 field by field.
#pragma once

#include <string>
#include <vector>

#include "shader_entry.h"
#include "summary.h"

namespace gallery {

inline constexpr int report_schema_version = 2;

// The report's text, pretty-printed, ending in a line feed. Paths of pictures
// and .frag files are relative to the gallery folder.
std::string report_json(const std::string& input_path, const std::vector<ShaderEntry>& entries,
                        const Summary& summary);

}  // namespace gallery
