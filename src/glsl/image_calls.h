// All calls of the ISF image macros in a body, with their arguments as the
// splitter cuts them, found in one reading of the body. The reading succeeds
// only on a regular body, where every call is a region of its own that no
// rewrite elsewhere can change (see image_calls.cpp).
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "glsl/macro_calls.h"

namespace glsl {

struct ImageCall {
  std::size_t macro;  // index into the macro names
  MacroCall call;     // first_matches unused; argument_count counted up to 3
};

// The calls of `macro_names` in `text` (which ends at its first NUL already),
// in text order, or false when `text` is not regular.
bool find_image_calls(std::string_view text, const std::vector<std::string_view>& macro_names,
                      std::vector<ImageCall>& calls);

}  // namespace glsl
