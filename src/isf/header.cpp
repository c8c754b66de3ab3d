// The JSON header of an ISF shader: one JSON object (null reads as an empty
// one) of which the converter reads six members. A shader with render passes,
// or whose body uses PASSINDEX, is refused as multi-pass.
#include "isf/header.h"

#include <utility>

#include "isf/bounded_builder.h"
#include "isf/json_object.h"
#include "isf/plain_json.h"

namespace isf {
namespace {

// A missing member reads as null; a header that is neither an object nor
// null fails with the library's type error, as member access by key does.
// The member is moved out of the header, so that a header with a hundred
// thousand inputs exists once in memory, not twice.
nlohmann::json take_member(nlohmann::json& header, std::string_view key) {
  if (header.is_null()) return nlohmann::json();
  require_object(header);
  auto found = header.find(key);
  return found == header.end() ? nlohmann::json() : std::move(*found);
}

// The quick reader for plain headers, then the library's parser when the
// quick one gives up; both hand their values to the same builder.
bool parse_into(std::string_view header_text, nlohmann::json& header) {
  {
    BoundedBuilder builder(header);
    if (read_plain_json(header_text, builder)) return true;
  }
  release(header);
  header = nlohmann::json();
  BoundedBuilder builder(header);
  return nlohmann::json::sax_parse(header_text.data(), header_text.data() + header_text.size(),
                                   &builder);
}

}  // namespace

std::optional<nlohmann::json> parse_header(std::string_view header_text) {
  // What the builder made before a failure, or before memory ran out, is
  // freed by release(), which needs no memory.
  nlohmann::json header;
  bool parsed = false;
  try {
    parsed = parse_into(header_text, header);
  } catch (...) {
    release(header);
    throw;
  }
  if (parsed) return header;
  release(header);
  return std::nullopt;
}

HeaderMembers lookup_header_members(nlohmann::json header) {
  HeaderMembers members;
  members.credit = take_member(header, "CREDIT");
  members.description = take_member(header, "DESCRIPTION");
  members.categories = take_member(header, "CATEGORIES");
  members.inputs = take_member(header, "INPUTS");
  members.passes = take_member(header, "PASSES");
  members.imported = take_member(header, "IMPORTED");
  release(header);
  return members;
}

void release(nlohmann::json& value) noexcept {
  // The children are emptied first, so that clearing destroys only scalars
  // and empty arrays and objects, which needs no work list.
  if (value.is_array()) {
    auto& array = value.get_ref<nlohmann::json::array_t&>();
    for (nlohmann::json& element : array) release(element);
    array.clear();
  } else if (value.is_object()) {
    auto& object = value.get_ref<nlohmann::json::object_t&>();
    for (auto& member : object) release(member.second);
    object.clear();
  }
}

void release(HeaderMembers& members) noexcept {
  for (nlohmann::json* member : {&members.credit, &members.description, &members.categories,
                                 &members.inputs, &members.passes, &members.imported})
    release(*member);
}

bool is_multi_pass(std::string_view body, const nlohmann::json& passes) {
  if (body.find("PASSINDEX") != std::string_view::npos) return true;
  return passes.is_array() && !passes.empty();
}

std::vector<std::string> imported_names(const nlohmann::json& imported) {
  std::vector<std::string> names;
  if (imported.is_object()) {
    for (const auto& member : imported.items()) names.push_back(member.key());
  } else if (imported.is_array()) {
    for (const nlohmann::json& element : imported) {
      if (!element.is_object()) continue;
      auto name = element.find("NAME");
      if (name != element.end() && name->is_string()) names.push_back(name->get<std::string>());
    }
  }
  return names;
}

}  // namespace isf
