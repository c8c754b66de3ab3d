// Reads the header as the converter does, then picks out the members for the
// page. Members of an unexpected JSON type are skipped, never guessed at.
#include "header_facts.h"

#include <nlohmann/json.hpp>
#include <utility>

#include "isf/header.h"
#include "isf/source_reader.h"

namespace gallery {
namespace {

std::string string_member(const nlohmann::json& object, const char* key) {
  if (!object.is_object()) return {};
  auto found = object.find(key);
  return found != object.end() && found->is_string() ? found->get<std::string>() : std::string();
}

void read_inputs(const nlohmann::json& inputs, HeaderFacts& facts) {
  if (!inputs.is_array()) return;
  for (const nlohmann::json& input : inputs)
    facts.inputs.push_back({string_member(input, "NAME"), string_member(input, "TYPE")});
}

// IMPORTED is either an object whose keys are the names, or an array of
// objects each with a NAME.
void read_imported(const nlohmann::json& imported, HeaderFacts& facts) {
  if (imported.is_object()) {
    for (auto item = imported.begin(); item != imported.end(); ++item)
      facts.imported.push_back(item.key());
  } else if (imported.is_array()) {
    for (const nlohmann::json& item : imported) {
      std::string name = string_member(item, "NAME");
      if (!name.empty()) facts.imported.push_back(name);
    }
  }
}

}  // namespace

HeaderFacts read_header_facts(const std::string& fs_text) {
  HeaderFacts facts;
  try {
    nlohmann::json header = isf::parse_header(isf::read_shader_source(fs_text).header_text);
    if (!header.is_object()) return facts;
    if (auto imported = header.find("IMPORTED"); imported != header.end())
      read_imported(*imported, facts);
    isf::HeaderMembers members = isf::lookup_header_members(std::move(header));
    if (members.credit.is_string()) facts.credit = members.credit.get<std::string>();
    if (members.description.is_string())
      facts.description = members.description.get<std::string>();
    if (members.categories.is_array())
      for (const nlohmann::json& category : members.categories)
        if (category.is_string()) facts.categories.push_back(category.get<std::string>());
    read_inputs(members.inputs, facts);
  } catch (const nlohmann::json::exception&) {
    // A header the converter cannot read either: the card shows what was read.
  }
  return facts;
}

}  // namespace gallery
