// GALLERY_DIR/live/: what the page's live views run on. host.js describes the
// host's uniforms and the thumbnails' inputs; page.js is the live view itself;
// one NAME.js per compiling shader holds its converted text, its controls, the
// place of each of its lines in the user's file and its thumbnail reduced to
// 16x16 blocks for the page's own check.
#pragma once

#include <string>
#include <vector>

#include "image.h"
#include "render_step.h"
#include "shader_entry.h"

namespace gallery {

// The side of the reduced thumbnail, in blocks.
inline constexpr int live_check_blocks = 16;

// The mean of each of blocks x blocks rectangles of the picture, row by row
// from the top, 4 bytes each. Block (bx, by) covers the columns from
// bx * width / blocks up to (bx + 1) * width / blocks (integer division; at
// least one column), and the rows likewise; each mean is rounded to nearest.
std::vector<unsigned char> reduce_to_blocks(const render::RgbaImage& picture, int blocks);

// live/host.js: the built-in uniforms with the values they hold, the image
// inputs' names, the first frame's values and the images the thumbnails saw.
std::string live_host_script(const RenderSettings& settings);

// live/NAME.js for a converted shader that compiles; `thumbnail` is its
// thumbnail as written, or an empty picture when there is none.
std::string live_shader_script(const ShaderEntry& entry, const render::RgbaImage& thumbnail);

// The file name of the shader's script in the live folder.
std::string live_script_name(const ShaderEntry& entry);

// Writes the live folder for every compiling entry; the path of the first
// file that cannot be written, or empty. Without them the page still shows
// its thumbnails.
std::string write_live_files(const std::string& gallery_folder, const RenderSettings& settings,
                             const std::vector<ShaderEntry>& entries);

}  // namespace gallery
