// The host's declaration of each kind of ISF input: a parameter macro line in
// the comment block and a uniform of the matching GLSL type. Images become
// samplers tex0, tex1, ... in input order; 2-D points become two floats. The
// table at the end pairs each type word with its rule.
#include "params/input_rules.h"

#include <limits>

#include "glsl/rules/rule_tables.h"
#include "isf/parameter_identifier.h"
#include "params/color_code.h"
#include "params/input_fields.h"
#include "params/json_numbers.h"
#include "params/macro_format.h"
#include "params/number_format.h"
#include "params/type_words.h"

namespace params {
namespace {

// The host's unbounded range is written as these two texts.
constexpr std::string_view no_minimum = "-1000000";
constexpr std::string_view no_maximum = "+1000000";

void add_uniform(ShaderBlocks& blocks, std::string_view glsl_type, std::string_view name) {
  blocks.uniforms += "uniform ";
  blocks.uniforms += glsl_type;
  blocks.uniforms += ' ';
  blocks.uniforms += name;
  blocks.uniforms += ";\n";
}

// A point the body redeclares is a plain global beside its uniforms.
void add_point_global(ShaderBlocks& blocks, const std::string& name) {
  blocks.uniforms += "vec2 " + name + ";\n";
}

// The four components of a COLOR default when its first four elements are
// numbers, as an AARRGGBB code; "00000000" otherwise.
std::string default_color_code(const nlohmann::json& value) {
  if (!value.is_array() || value.size() < 4) return "00000000";
  for (std::size_t i = 0; i < 4; ++i) {
    if (!value[i].is_number()) return "00000000";
  }
  return color_code(single_of(value[0].get<double>()), single_of(value[1].get<double>()),
                    single_of(value[2].get<double>()), single_of(value[3].get<double>()));
}

struct Axis {
  double minimum = std::numeric_limits<double>::lowest();
  double maximum = std::numeric_limits<double>::max();
  double fallback = 0.0;
};

// A two-element array sets each axis whose element is a number; any other
// value, or an array of another length, leaves both axes as they are.
void read_pair(const nlohmann::json& value, double Axis::*field, Axis (&axes)[2]) {
  if (!value.is_array() || value.size() != 2) return;
  for (std::size_t i = 0; i < 2; ++i) {
    if (value[i].is_number()) axes[i].*field = value[i].get<double>();
  }
}

std::string axis_line(const std::string& axis_name, const Axis& axis) {
  std::string minimum = axis.minimum == std::numeric_limits<double>::lowest()
                            ? std::string(no_minimum)
                            : format_g(axis.minimum);
  std::string maximum = axis.maximum == std::numeric_limits<double>::max()
                            ? std::string(no_maximum)
                            : format_g(axis.maximum);
  return macro_line(float_macro_head, axis_name, isf::parameter_identifier(axis_name),
                    {minimum, maximum, format_g(axis.fallback)});
}

std::string translate_image(const nlohmann::json& /*input*/, const std::string& name,
                            ShaderBlocks& blocks) {
  std::string sampler = std::string(glsl::kHost.sampler_prefix) + std::to_string(blocks.image_count);
  ++blocks.image_count;
  // A repeated name keeps its first sampler; the later input still uses up
  // its number and gets its own uniform.
  blocks.image_table.emplace(name, sampler);
  add_uniform(blocks, "sampler2D", sampler);
  return std::string();
}

std::string translate_bool(const nlohmann::json& input, const std::string& name, ShaderBlocks& blocks) {
  add_uniform(blocks, "bool", name);
  return macro_line(int_onoff_macro_head, name, isf::parameter_identifier(name),
                    {on_off_field(member_or_null(input, "DEFAULT"))});
}

std::string translate_event(const nlohmann::json& input, const std::string& name, ShaderBlocks& blocks) {
  add_uniform(blocks, "int", name);
  blocks.events.push_back(name);
  return macro_line(int_macro_head, name, isf::parameter_identifier(name),
                    {"0", "1", on_off_field(member_or_null(input, "DEFAULT"))});
}

std::string translate_float(const nlohmann::json& input, const std::string& name, ShaderBlocks& blocks) {
  add_uniform(blocks, "float", name);
  return macro_line(float_macro_head, name, isf::parameter_identifier(name),
                    {float_field(member_or_null(input, "MIN"), no_minimum),
                     float_field(member_or_null(input, "MAX"), no_maximum),
                     float_field(member_or_null(input, "DEFAULT"), format_g(0.0))});
}

std::string translate_int(const nlohmann::json& input, const std::string& name, ShaderBlocks& blocks) {
  add_uniform(blocks, "int", name);
  const nlohmann::json& labels = member_or_null(input, "LABELS");
  std::size_t label_count = labels.is_array() ? labels.size() : 0;
  // Without a MAX, a list of labels bounds the range at its last index.
  std::string maximum_fallback =
      label_count > 0 ? format_d(int_value_of(double(label_count - 1))) : std::string(no_maximum);
  return macro_line(int_macro_head, name, isf::parameter_identifier(name),
                    {int_field(member_or_null(input, "MIN"), "0"),
                     int_field(member_or_null(input, "MAX"), maximum_fallback),
                     int_field(member_or_null(input, "DEFAULT"), "0")});
}

std::string translate_color(const nlohmann::json& input, const std::string& name, ShaderBlocks& blocks) {
  add_uniform(blocks, "vec4", name);
  return macro_line(color_macro_head, name, isf::parameter_identifier(name),
                    {"0x" + default_color_code(member_or_null(input, "DEFAULT"))});
}

std::string translate_point2d(const nlohmann::json& input, const std::string& name,
                              ShaderBlocks& blocks) {
  Axis axes[2];
  read_pair(member_or_null(input, "MIN"), &Axis::minimum, axes);
  read_pair(member_or_null(input, "MAX"), &Axis::maximum, axes);
  read_pair(member_or_null(input, "DEFAULT"), &Axis::fallback, axes);
  const std::string x_name = name + "_x";
  const std::string y_name = name + "_y";
  add_uniform(blocks, "float", x_name);
  add_uniform(blocks, "float", y_name);
  const std::string point = "vec2(" + x_name + "," + y_name + ")";
  if (blocks.declared_in_body.count(name) != 0) {
    add_point_global(blocks, name);
    blocks.point_lines += name + " = " + point + ";\n";
  } else {
    blocks.defines += "#define " + name + " " + point + "\n";
  }
  return axis_line(x_name, axes[0]) + "\n" + axis_line(y_name, axes[1]);
}

// The type words in the order they are tried; INT and LONG name the same
// kind of parameter.
struct InputType {
  std::string_view word;
  InputRule rule;
};

constexpr InputType kInputTypes[] = {
    {"IMAGE", translate_image}, {"BOOL", translate_bool},   {"EVENT", translate_event},
    {"FLOAT", translate_float}, {"INT", translate_int},     {"LONG", translate_int},
    {"COLOR", translate_color}, {"POINT2D", translate_point2d},
};

}  // namespace

InputRule input_rule(std::string_view type) {
  for (const InputType& entry : kInputTypes) {
    if (equals_ignore_case(type, entry.word)) return entry.rule;
  }
  return nullptr;
}

}  // namespace params
