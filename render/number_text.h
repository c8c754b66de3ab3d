// Numbers typed by the user (command-line values, parameter values): the
// whole text must be one number, or it is not taken.
#pragma once

#include <string>

namespace render {

// A decimal or exponent-form number, as strtod reads it. False when the text
// is empty, holds anything after the number, or overflows.
bool parse_double(const std::string& text, double& value);

// A decimal whole number in the range of int. False otherwise.
bool parse_int(const std::string& text, int& value);

// The largest frame side that a size option accepts.
inline constexpr int max_frame_side = 4096;

// "WxH" with both sides from 1 to max_frame_side.
bool parse_frame_size(const std::string& text, int& width, int& height);

}  // namespace render
