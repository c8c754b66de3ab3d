// Parameters from the macro lines of the output format, through the reader
// that the converter's own code provides, and command-line values for them.
#include "host_parameters.h"

#include <cmath>
#include <sstream>

#include "number_text.h"

namespace render {

namespace {

bool is_integer_kind(params::MacroKind kind) {
  return kind == params::MacroKind::int_range || kind == params::MacroKind::int_onoff;
}

HostParameter from_macro(const params::ParameterMacro& macro) {
  HostParameter parameter;
  parameter.kind = macro.kind;
  parameter.name = macro.name;
  if (macro.kind == params::MacroKind::color) {
    parameter.value = parse_color_code(macro.fields[0]).value_or(std::array<double, 4>{});
  } else {
    double value = 0.0;
    if (parse_double(macro.fields.back(), value)) parameter.value[0] = value;
  }
  return parameter;
}

bool parse_color_components(const std::string& text, std::array<double, 4>& rgba) {
  std::stringstream stream(text);
  std::string part;
  std::size_t count = 0;
  while (std::getline(stream, part, ',')) {
    if (count == 4 || !parse_double(part, rgba[count])) return false;
    ++count;
  }
  return count == 4;
}

}  // namespace

std::vector<HostParameter> read_host_parameters(const std::string& shader_text) {
  std::vector<HostParameter> parameters;
  for (const params::ParameterMacro& macro : params::parse_parameter_macros(shader_text))
    parameters.push_back(from_macro(macro));
  return parameters;
}

std::optional<std::array<double, 4>> parse_color_code(const std::string& text) {
  if (text.size() != 10 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X'))
    return std::nullopt;
  unsigned long code = 0;
  for (std::size_t i = 2; i < text.size(); ++i) {
    char c = text[i];
    int digit = c >= '0' && c <= '9'   ? c - '0'
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                       : -1;
    if (digit < 0) return std::nullopt;
    code = code * 16 + static_cast<unsigned long>(digit);
  }
  auto byte = [code](int shift) { return static_cast<double>((code >> shift) & 0xFF) / 255.0; };
  return std::array<double, 4>{byte(16), byte(8), byte(0), byte(24)};
}

bool set_host_parameter(std::vector<HostParameter>& parameters, const std::string& name,
                        const std::string& text, std::string& error) {
  bool found = false;
  for (HostParameter& parameter : parameters) {
    if (parameter.name != name) continue;
    found = true;
    bool ok = true;
    if (parameter.kind == params::MacroKind::color) {
      auto code = parse_color_code(text);
      if (code)
        parameter.value = *code;
      else
        ok = parse_color_components(text, parameter.value);
    } else if (text == "true" || text == "false") {
      parameter.value[0] = text == "true" ? 1.0 : 0.0;
      ok = parameter.kind == params::MacroKind::int_onoff;
    } else {
      ok = parse_double(text, parameter.value[0]);
      if (ok && is_integer_kind(parameter.kind))
        ok = std::fabs(parameter.value[0]) <= 2147483647.0 &&
             parameter.value[0] == std::floor(parameter.value[0]);
    }
    if (!ok) {
      error = "invalid value for the parameter " + name + ": " + text;
      return false;
    }
  }
  if (!found) error = "the shader has no parameter named " + name;
  return found;
}

}  // namespace render
