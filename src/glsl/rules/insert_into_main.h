// Where the prologue goes in a shader body: at the start of its main, after
// the "{" of the first definition and the line break that ends that line.
// BodyText::insert_into_main puts it there (insert_into_main.cpp).
#pragma once

#include <cstddef>
#include <string_view>

namespace glsl {

// The place in `body` (read up to its first NUL) just inside the first
// definition of main, or npos when there is none.
std::size_t main_body_start(std::string_view body);

}  // namespace glsl
