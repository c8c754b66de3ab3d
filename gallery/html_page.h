// GALLERY_DIR/index.html: one static page that opens from the file system
// with no network. Filtering by outcome is plain CSS over radio buttons, and
// pictures load lazily, so the page stays quick with a thousand shaders.
#pragma once

#include <string>
#include <vector>

#include "shader_entry.h"
#include "summary.h"

namespace gallery {

struct PageSettings {
  std::string gallery_path;  // to link the .fs files relative to the page
  int width = 256;           // picture size
  int height = 256;
};

std::string html_page(const std::vector<ShaderEntry>& entries, const Summary& summary,
                      const PageSettings& settings);

// Text with &, <, >, " and ' written as character references.
std::string html_escape(const std::string& text);

// A relative URL for the path: every byte other than letters, digits, "-",
// ".", "_", "~" and "/" percent-encoded.
std::string url_path(const std::string& path);

}  // namespace gallery
