// The one type error of member access by key on a JSON value that is not an
// object, raised where the converter reads members of the header and of its
// inputs.
#pragma once

#include <nlohmann/json.hpp>

namespace isf {

// Throws the library's type error 305, worded as operator[] words it, when
// `value` is not an object.
void require_object(const nlohmann::json& value);

}  // namespace isf
