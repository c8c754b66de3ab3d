// The argument splitter of the image-macro calls: where each argument list
// ends and where its commas cut it, by the rules of call_syntax.h.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "glsl/text/position_set.h"

namespace glsl {

template <class Offset>
struct ArgumentList {
  Offset count;        // arguments, counted up to the cap + 1
  Offset first_end;    // the first argument ends here (a comma, or the list's end)
  Offset first_comma;  // when there is one
  Offset second_end;   // the second argument ends here
};

// Every list that begins at a member of `starts`, by rank in `starts`, all
// split in one reading of `text` (which ends at its first NUL already);
// commas are counted up to `cap`, past which the count cannot matter.
template <class Offset>
std::vector<ArgumentList<Offset>> split_call_arguments(std::string_view text,
                                                       const PositionSet<Offset>& starts,
                                                       std::size_t cap);

}  // namespace glsl
