// The JSON header of an ISF shader: parsing, the six members the converter
// reads, and the test for shaders that need more than one render pass.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace isf {

// The members looked up in the header; a missing member is JSON null.
struct HeaderMembers {
  nlohmann::json credit;
  nlohmann::json description;
  nlohmann::json categories;
  nlohmann::json inputs;
  nlohmann::json passes;
  nlohmann::json imported;  // images ISF loads from files; the host has none
};

// Far beyond any real header, which nests three or four levels deep. The
// library parses any depth, but copying or comparing a parsed value recurses
// once per level, so a hostile header could exhaust the stack.
constexpr std::size_t max_header_nesting = 512;

// Parses the header text as exactly one JSON value whose arrays and objects
// nest at most max_header_nesting deep; nothing when it is not.
std::optional<nlohmann::json> parse_header(std::string_view header_text);

// Looks up "CREDIT", "DESCRIPTION", "CATEGORIES", "INPUTS", "PASSES",
// "IMPORTED" in that order. null counts as an empty object; any other non-object value throws the
// library's type error. The members are moved out of `header`: pass it with
// std::move so that a large header is not held twice.
HeaderMembers lookup_header_members(nlohmann::json header);

// Frees the arrays and objects inside a value, deepest first, without
// allocating. The library's own destructor first gathers the children in a
// work list, an allocation that fails when memory is exhausted, and a
// failure inside a destructor ends the process. The recursion is as deep as
// the value nests, which parse_header bounds.
void release(nlohmann::json& value) noexcept;
void release(HeaderMembers& members) noexcept;

// True when the body mentions "PASSINDEX" anywhere or "PASSES" is an array
// with at least one element.
bool is_multi_pass(std::string_view body, const nlohmann::json& passes);

// The names of the images in "IMPORTED": its member names when it is an
// object, the string "NAME" of each object element when it is an array.
std::vector<std::string> imported_names(const nlohmann::json& imported);

}  // namespace isf
