// The number formats of parameter macro fields: printf's "%g" and "%d". The
// tool never sets a locale, so it runs in the C locale that every C and C++
// program starts in, and "%g" writes '.' as the decimal point.
#pragma once

#include <string>

namespace params {

// "%g": six significant digits, trailing zeros dropped, exponent form below
// 1e-4 and from 1e6 up.
std::string format_g(double value);

// "%d".
std::string format_d(int value);

}  // namespace params
