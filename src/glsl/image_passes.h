// The image passes: for each image input, in byte order of the names, the
// calls of the image macros that read it become GLSL on its sampler.
#pragma once

#include <map>
#include <string>

namespace glsl {

class LineTracker;

// Gives `body` as the rows of the image-pass table leave it when they run
// one after another over the whole body for each image of `image_table`
// (name -> sampler) in the table's order; appends the "resolution_tex<N>"
// declarations that IMG_SIZE needs to `uniforms`, and returns true when an
// IMG_PIXEL call was rewritten. `spare` and `lines` as for
// replace_whole_word_in.
bool run_image_passes(std::string& body, std::string& uniforms,
                      const std::map<std::string, std::string>& image_table, std::string& spare,
                      LineTracker* lines = nullptr);

}  // namespace glsl
