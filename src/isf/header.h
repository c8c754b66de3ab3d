// The JSON header of an ISF shader: parsing, the five members the converter
// reads, and the test for shaders that need more than one render pass.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace isf {

// The members looked up in the header; a missing member is JSON null.
struct HeaderMembers {
  nlohmann::json credit;
  nlohmann::json description;
  nlohmann::json categories;
  nlohmann::json inputs;
  nlohmann::json passes;
};

// Parses the header text as exactly one JSON value. Throws the library's
// parse error when the text is not one JSON value.
nlohmann::json parse_header(const std::string& header_text);

// Looks up "CREDIT", "DESCRIPTION", "CATEGORIES", "INPUTS", "PASSES" in that
// order. null counts as an empty object; any other non-object value throws the
// library's type error.
HeaderMembers lookup_header_members(const nlohmann::json& header);
// The same, with the members moved out of the header rather than copied
// (the overload the converter uses).
HeaderMembers lookup_header_members(nlohmann::json&& header);

// True when the body mentions "PASSINDEX" anywhere or "PASSES" is an array
// with at least one element.
bool is_multi_pass(std::string_view body, const nlohmann::json& passes);

}  // namespace isf
