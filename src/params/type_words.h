// The ISF input types the host can offer as parameters. An input's TYPE is
// matched against the type words without regard to ASCII case.
#pragma once

#include <string_view>

namespace params {

enum class InputKind { image, boolean, event, floating, integer, color, point2d, unknown };

// The kind of the first type word that `type` matches, in the order IMAGE,
// BOOL, EVENT, FLOAT, INT, LONG, COLOR, POINT2D; unknown when none does.
InputKind input_kind(std::string_view type);

}  // namespace params
