// The plug-in parameters of a converted shader as the host offers them: read
// from its parameter macro lines, each starting at its default value.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "params/macro_format.h"

namespace render {

struct HostParameter {
  params::MacroKind kind = params::MacroKind::float_range;
  std::string name;
  // float_range: value[0]; int_range and int_onoff: value[0], a whole number;
  // color: red, green, blue, alpha from 0 to 1.
  std::array<double, 4> value{};
};

// One parameter per parameter macro line of the shader text, in text order.
// A macro line whose default field is not a number gets 0.
std::vector<HostParameter> read_host_parameters(const std::string& shader_text);

// The colour of a "0xAARRGGBB" field as red, green, blue, alpha; nothing when
// the text is not of that form.
std::optional<std::array<double, 4>> parse_color_code(const std::string& text);

// Sets the parameter `name` from `text` (a number; for a colour 0xAARRGGBB or
// R,G,B,A). False with a message in `error` when there is no such parameter
// or the text does not fit its kind.
bool set_host_parameter(std::vector<HostParameter>& parameters, const std::string& name,
                        const std::string& text, std::string& error);

}  // namespace render
