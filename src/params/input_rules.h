// The rule of each ISF input type. A rule appends the input's uniform
// declarations, define and image table entry to the blocks itself and returns
// its macro text (empty for an image), which the caller adds to the comment
// block.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "params/translate_inputs.h"

namespace params {

using InputRule = std::string (*)(const nlohmann::json& input, const std::string& name,
                                  ShaderBlocks& blocks);

// The rule of the first type word that `type` matches without regard to
// ASCII case, in the order IMAGE, BOOL, EVENT, FLOAT, INT, LONG, COLOR,
// POINT2D; nullptr when none does.
InputRule input_rule(std::string_view type);

}  // namespace params
