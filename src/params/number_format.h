// The number formats of parameter macro fields: printf's "%g" and "%d" as the
// C locale writes them, whatever locale the process runs in.
#pragma once

#include <string>
#include <string_view>

namespace params {

// "%g": six significant digits, trailing zeros dropped, exponent form below
// 1e-4 and from 1e6 up; the decimal point is always '.'.
std::string format_g(double value);

// "%d".
std::string format_d(int value);

// `text` with the first occurrence of the locale's decimal point `point`
// replaced by '.'.
std::string with_c_decimal_point(std::string_view text, std::string_view point);

}  // namespace params
