// The gallery from command line to exit status: list and convert the
// shaders, compile and render them on every core, write the page and the
// report, and print the summary line.
#pragma once

#include <string>
#include <vector>

namespace gallery {

inline constexpr int exit_ok = 0;
inline constexpr int exit_failures = 1;
inline constexpr int exit_usage = 2;

// `arguments` excludes the program name.
int run_gallery(const std::vector<std::string>& arguments);

}  // namespace gallery
