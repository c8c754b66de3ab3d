// Reading the members of one ISF input and writing them as the fields of a
// parameter macro line. Only TYPE and NAME can fail; every other member falls
// back to its field's default when it has an unexpected JSON type.
#pragma once

#include <initializer_list>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace params {

// The member, or a null value when `input` has no such member.
const nlohmann::json& member_or_null(const nlohmann::json& input, std::string_view key);

// The member as text; the JSON library's type error when `input` is not an
// object or the member is missing or not a string.
const std::string& text_member(const nlohmann::json& input, std::string_view key);

// A float field: "%g" of a float, "%d" of an integer's int value, else
// `fallback` unchanged.
std::string float_field(const nlohmann::json& value, std::string_view fallback);

// An int field: "%d" of any number's int value, else `fallback` unchanged.
std::string int_field(const nlohmann::json& value, std::string_view fallback);

// An on/off default: "1" for an integer whose int value is not 0, else "0"
// (also for true, and for a float such as 1.0).
std::string on_off_field(const nlohmann::json& value);

// head + name + ", " + identifier + ", " + each field and ", " + the help text.
std::string macro_line(std::string_view head, std::string_view name, std::string_view identifier,
                       std::initializer_list<std::string_view> fields);

}  // namespace params
