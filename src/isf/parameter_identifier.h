// The host's four-character parameter identifier, derived from a parameter
// name through its MD5 digest.
#pragma once

#include <string>
#include <string_view>

namespace isf {

// The 83 characters an identifier is made of.
extern const std::string_view identifier_alphabet;

// Four characters of the identifier alphabet; the name is digested up to its
// first NUL byte.
std::string parameter_identifier(std::string_view name);

}  // namespace isf
