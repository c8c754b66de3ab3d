// Conversions of the numbers in an ISF header to the host's int and float
// fields. Every conversion is defined for every value the JSON library can
// hold: nothing out of range is cast.
#pragma once

#include <nlohmann/json.hpp>

namespace params {

// The int value of a float: truncated toward zero; a result outside the int
// range, and NaN, give the lowest int (as the hardware conversion does).
int int_value_of(double value);

// The int value of a JSON number: integers keep their low 32 bits (as two's
// complement), floats go through int_value_of. Anything else gives 0.
int int_value(const nlohmann::json& number);

// Single precision; values beyond its range become plus or minus infinity.
float single_of(double value);

}  // namespace params
