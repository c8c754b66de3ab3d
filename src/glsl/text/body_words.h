// How a shader body uses some names, found in one reading of the body
// whatever the number of names: whether it holds a name as a whole word,
// declares it, or tests it as a condition.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace glsl {

struct WordUse {
  bool used = false;      // a whole-word occurrence
  // An occurrence right after blanks (space, tab, CR, LF) that follow one of
  // the type words float, int, bool, vecN, ivecN, bvecN, matN: a parameter,
  // a local or a global of that name ("vec2 center", not "vec2(center)").
  bool declared = false;
  // An occurrence where GLSL wants a bool: the whole condition of an if or
  // a while, before "?", next to "&&", "||" or "^^", or after "!".
  bool condition = false;
};

// One entry per name of `names`, for `body` read up to its first NUL. Only
// identifiers can occur: any other name (empty, or holding a character
// that cannot continue an identifier) is reported unused.
std::vector<WordUse> word_uses(std::string_view body, const std::vector<std::string>& names);

}  // namespace glsl
