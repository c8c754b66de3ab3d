// The ISF built-in variables and the host uniforms that stand for them.
#pragma once

#include <string>

namespace glsl {

class LineTracker;

// Replaces RENDERSIZE, TIME, TIMEDELTA, DATE and FRAMEINDEX in `body` and
// appends to `uniforms` the declaration of each uniform that is used;
// `resolution` also whenever the shader has no images or an IMG_PIXEL call
// was rewritten (its coordinates are divided by the render size).
// `spare` and `lines` as for replace_whole_word_in.
void replace_builtins(std::string& body, std::string& uniforms, bool no_images,
                      bool render_size_needed, std::string& spare, LineTracker* lines = nullptr);

}  // namespace glsl
