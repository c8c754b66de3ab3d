// The JSON header of an ISF shader: one JSON object (null reads as an empty
// one) of which the converter reads six members. A shader with render passes,
// or whose body uses PASSINDEX, is refused as multi-pass.
#include "isf/header.h"

#include <iterator>

#include "isf/json_object.h"

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

}  // namespace

namespace {

// The library's own value builder (the one json::parse uses), told not to
// throw, with a bound on the nesting: the parse stops, and fails, at the first
// array or object that would go deeper than max_header_nesting.
class BoundedBuilder {
 public:
  using json = nlohmann::json;
  explicit BoundedBuilder(json& value) : builder_(value, false) {}

  bool null() { return builder_.null(); }
  bool boolean(bool value) { return builder_.boolean(value); }
  bool number_integer(json::number_integer_t value) { return builder_.number_integer(value); }
  bool number_unsigned(json::number_unsigned_t value) { return builder_.number_unsigned(value); }
  bool number_float(json::number_float_t value, const json::string_t& text) {
    return builder_.number_float(value, text);
  }
  bool string(json::string_t& value) { return builder_.string(value); }
  bool binary(json::binary_t& value) { return builder_.binary(value); }
  bool start_object(std::size_t size) { return deeper() && builder_.start_object(size); }
  bool key(json::string_t& name) { return builder_.key(name); }
  bool end_object() { return shallower() && builder_.end_object(); }
  bool start_array(std::size_t size) { return deeper() && builder_.start_array(size); }
  bool end_array() { return shallower() && builder_.end_array(); }
  template <class Exception>
  bool parse_error(std::size_t position, const std::string& token, const Exception& error) {
    return builder_.parse_error(position, token, error);
  }

 private:
  bool deeper() { return ++depth_ <= max_header_nesting; }
  bool shallower() {
    --depth_;
    return true;
  }

  nlohmann::detail::json_sax_dom_parser<json> builder_;
  std::size_t depth_ = 0;
};

}  // namespace

std::optional<nlohmann::json> parse_header(std::string_view header_text) {
  // What the builder made before a failure, or before memory ran out, is
  // freed by release(), which needs no memory.
  nlohmann::json header;
  BoundedBuilder builder(header);
  bool parsed = false;
  try {
    parsed = nlohmann::json::sax_parse(header_text.data(), header_text.data() + header_text.size(),
                                       &builder);
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
  if (value.is_array()) {
    auto& array = value.get_ref<nlohmann::json::array_t&>();
    while (!array.empty()) {
      release(array.back());
      array.pop_back();
    }
  } else if (value.is_object()) {
    auto& object = value.get_ref<nlohmann::json::object_t&>();
    while (!object.empty()) {
      auto last = std::prev(object.end());
      release(last->second);
      object.erase(last);
    }
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
