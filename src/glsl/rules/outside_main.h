// Whether a name is read outside the shader's main: before the place where
// the prologue goes, or after the brace that closes main's body.
#pragma once

#include <string_view>

namespace glsl {

// True when `body` (read up to its first NUL) has a definition of main and
// holds the identifier `word` as a whole word before main_body_start or
// after the "}" that closes main's body. Braces are counted from
// main_body_start, skipping // and /* */ comments; a body that never closes
// runs to the end of the text.
bool used_outside_main(std::string_view body, std::string_view word);

}  // namespace glsl
