// The image inputs' names in the body become their samplers, so that a
// direct use of an image, such as a sampler passed to texture2D, names the
// uniform that the uniform block declares.
#pragma once

#include <map>
#include <string>

namespace glsl {

class LineTracker;

// Gives `body` as replace_whole_word leaves it when each name of
// `image_table` (name -> sampler) is replaced by its sampler, one after
// another in the table's order. `spare` and `lines` as for
// replace_whole_word_in.
void rename_images(std::string& body, const std::map<std::string, std::string>& image_table,
                   std::string& spare, LineTracker* lines = nullptr);

}  // namespace glsl
