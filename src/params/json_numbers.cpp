// Range-checked number conversions for parameter fields. A float's int value
// and a large integer's low bits follow what the host's compiler produces for
// a plain conversion, but without relying on undefined behaviour.
#include "params/json_numbers.h"

#include <climits>
#include <cstdint>
#include <limits>

namespace params {
namespace {

// Reads the low 32 bits as a two's-complement int without an out-of-range
// conversion.
int low_32_bits(std::uint64_t bits) {
  std::uint32_t low = static_cast<std::uint32_t>(bits);
  if (low <= static_cast<std::uint32_t>(INT_MAX)) return static_cast<int>(low);
  return -static_cast<int>(~low) - 1;
}

}  // namespace

int int_value_of(double value) {
  // The open interval holds exactly the doubles whose truncation fits an int;
  // NaN fails both comparisons.
  if (value > -2147483649.0 && value < 2147483648.0) return static_cast<int>(value);
  return INT_MIN;
}

int int_value(const nlohmann::json& number) {
  if (number.is_number_unsigned()) return low_32_bits(number.get<std::uint64_t>());
  if (number.is_number_integer()) {
    return low_32_bits(static_cast<std::uint64_t>(number.get<std::int64_t>()));
  }
  if (number.is_number_float()) return int_value_of(number.get<double>());
  return 0;
}

float single_of(double value) {
  constexpr double float_max = std::numeric_limits<float>::max();
  if (value > float_max) return std::numeric_limits<float>::infinity();
  if (value < -float_max) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

}  // namespace params
