// The one comparison of the tool that ignores case: an input's TYPE against
// the type words.
#pragma once

#include <string_view>

namespace params {

// Equal after upper-casing every ASCII letter, as toupper does in the C
// locale; other bytes compare as they are.
bool equals_ignore_case(std::string_view a, std::string_view b);

}  // namespace params
