// The JSON header of an ISF shader: one JSON object (null reads as an empty
// one) of which the converter reads five members. A shader with render passes,
// or whose body uses PASSINDEX, is refused as multi-pass.
#include "isf/header.h"

#include "isf/json_nesting.h"

namespace isf {
namespace {

// A header that is neither an object nor null fails with the library's type
// error, as member access by key does.
void require_object(const nlohmann::json& header) {
  if (!header.is_object()) {
    throw nlohmann::json::type_error::create(
        305, std::string("cannot use operator[] with a string argument with ") + header.type_name(),
        &header);
  }
}

// A missing member reads as null. The member is moved out of the header, so
// that a header with a hundred thousand inputs exists once in memory, not twice.
nlohmann::json take_member(nlohmann::json& header, const char* key) {
  if (header.is_null()) return nlohmann::json();
  require_object(header);
  auto found = header.find(key);
  return found == header.end() ? nlohmann::json() : std::move(*found);
}

}  // namespace

nlohmann::json parse_header(const std::string& header_text) {
  check_header_nesting(header_text);
  return nlohmann::json::parse(header_text);
}

HeaderMembers lookup_header_members(const nlohmann::json& header) {
  return lookup_header_members(nlohmann::json(header));
}

HeaderMembers lookup_header_members(nlohmann::json&& header) {
  HeaderMembers members;
  members.credit = take_member(header, "CREDIT");
  members.description = take_member(header, "DESCRIPTION");
  members.categories = take_member(header, "CATEGORIES");
  members.inputs = take_member(header, "INPUTS");
  members.passes = take_member(header, "PASSES");
  return members;
}

bool is_multi_pass(std::string_view body, const nlohmann::json& passes) {
  if (body.find("PASSINDEX") != std::string_view::npos) return true;
  return passes.is_array() && !passes.empty();
}

}  // namespace isf
