// The JSON header of an ISF shader: one JSON object (null reads as an empty
// one) of which the converter reads five members. A shader with render passes,
// or whose body uses PASSINDEX, is refused as multi-pass.
#include "isf/header.h"

#include "isf/json_nesting.h"

namespace isf {
namespace {

// A missing member reads as null; a header that is neither an object nor
// null fails with the library's type error, as member access by key does.
nlohmann::json member(const nlohmann::json& header, const char* key) {
  if (header.is_null()) return nlohmann::json();
  if (!header.is_object()) {
    throw nlohmann::json::type_error::create(
        305, std::string("cannot use operator[] with a string argument with ") + header.type_name(),
        &header);
  }
  auto found = header.find(key);
  return found == header.end() ? nlohmann::json() : *found;
}

}  // namespace

nlohmann::json parse_header(const std::string& header_text) {
  check_header_nesting(header_text);
  return nlohmann::json::parse(header_text);
}

HeaderMembers lookup_header_members(const nlohmann::json& header) {
  HeaderMembers members;
  members.credit = member(header, "CREDIT");
  members.description = member(header, "DESCRIPTION");
  members.categories = member(header, "CATEGORIES");
  members.inputs = member(header, "INPUTS");
  members.passes = member(header, "PASSES");
  return members;
}

bool is_multi_pass(std::string_view body, const nlohmann::json& passes) {
  if (body.find("PASSINDEX") != std::string_view::npos) return true;
  return passes.is_array() && !passes.empty();
}

}  // namespace isf
