// Member access and field formatting for parameter macro lines. The help text
// is fixed: ISF inputs carry no help for the host to show.
#include "params/input_fields.h"

#include "isf/json_object.h"
#include "params/json_numbers.h"
#include "params/macro_format.h"
#include "params/number_format.h"

namespace params {

const nlohmann::json& member_or_null(const nlohmann::json& input, std::string_view key) {
  static const nlohmann::json null_value;
  if (!input.is_object()) return null_value;
  auto found = input.find(key);
  return found == input.end() ? null_value : *found;
}

const std::string& text_member(const nlohmann::json& input, std::string_view key) {
  isf::require_object(input);
  const nlohmann::json& member = member_or_null(input, key);
  // A missing member reads as null, which the library refuses as text.
  if (!member.is_string()) static_cast<void>(member.get<std::string>());
  return member.get_ref<const std::string&>();
}

std::string float_field(const nlohmann::json& value, std::string_view fallback) {
  if (value.is_number_float()) return format_g(value.get<double>());
  if (value.is_number_integer()) return format_d(int_value(value));
  return std::string(fallback);
}

std::string int_field(const nlohmann::json& value, std::string_view fallback) {
  if (value.is_number()) return format_d(int_value(value));
  return std::string(fallback);
}

std::string on_off_field(const nlohmann::json& value) {
  return value.is_number_integer() && int_value(value) != 0 ? "1" : "0";
}

std::string macro_line(std::string_view head, std::string_view name, std::string_view identifier,
                       std::initializer_list<std::string_view> fields) {
  std::size_t size = head.size() + name.size() + identifier.size() + no_help_macro_tail.size() +
                     (fields.size() + 2) * macro_field_separator.size();
  for (std::string_view field : fields) size += field.size();
  std::string line;
  line.reserve(size);
  line += head;
  line += name;
  line += macro_field_separator;
  line += identifier;
  line += macro_field_separator;
  for (std::string_view field : fields) {
    line += field;
    line += macro_field_separator;
  }
  line += no_help_macro_tail;
  return line;
}

}  // namespace params
