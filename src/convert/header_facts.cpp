// The facts of a header as plain strings, for whoever shows the shader.
#include "convert/header_facts.h"

#include <nlohmann/json.hpp>

namespace convert {
namespace {

std::string string_of(const nlohmann::json& value) {
  return value.is_string() ? value.get<std::string>() : std::string();
}

std::string string_member(const nlohmann::json& object, const char* key) {
  if (!object.is_object()) return {};
  auto found = object.find(key);
  return found != object.end() ? string_of(*found) : std::string();
}

}  // namespace

HeaderFacts header_facts(const isf::HeaderMembers& members) {
  HeaderFacts facts;
  facts.credit = string_of(members.credit);
  facts.description = string_of(members.description);
  if (members.categories.is_array())
    for (const nlohmann::json& category : members.categories)
      if (category.is_string()) facts.categories.push_back(category.get<std::string>());
  if (members.inputs.is_array())
    for (const nlohmann::json& input : members.inputs)
      facts.inputs.push_back({string_member(input, "NAME"), string_member(input, "TYPE")});
  facts.imported = isf::imported_names(members.imported);
  return facts;
}

}  // namespace convert
