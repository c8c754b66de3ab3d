// One rule per kind of ISF input. Each rule appends the input's uniform
// declarations, define and image table entry to the blocks itself and returns
// its macro text (empty for an image), which the caller adds to the comment
// block.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "params/translate_inputs.h"

namespace params {

std::string translate_image(const std::string& name, ShaderBlocks& blocks);
std::string translate_bool(const nlohmann::json& input, const std::string& name, ShaderBlocks& blocks);
std::string translate_event(const nlohmann::json& input, const std::string& name, ShaderBlocks& blocks);
std::string translate_float(const nlohmann::json& input, const std::string& name, ShaderBlocks& blocks);
std::string translate_int(const nlohmann::json& input, const std::string& name, ShaderBlocks& blocks);
std::string translate_color(const nlohmann::json& input, const std::string& name, ShaderBlocks& blocks);
std::string translate_point2d(const nlohmann::json& input, const std::string& name, ShaderBlocks& blocks);

}  // namespace params
