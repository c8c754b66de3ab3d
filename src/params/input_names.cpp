// Picks input names by type for the checks that run before the translation
// (audio inputs, redeclared points).
#include "params/input_names.h"

#include "params/type_words.h"

namespace params {
namespace {

const std::string* string_member(const nlohmann::json& input, std::string_view key) {
  auto found = input.find(key);
  if (found == input.end() || !found->is_string()) return nullptr;
  return &found->get_ref<const std::string&>();
}

}  // namespace

std::vector<std::string> input_names_of_type(const nlohmann::json& inputs,
                                             std::initializer_list<std::string_view> type_words) {
  std::vector<std::string> names;
  if (!inputs.is_array()) return names;
  for (const nlohmann::json& input : inputs) {
    if (!input.is_object()) continue;
    const std::string* type = string_member(input, "TYPE");
    if (type == nullptr) continue;
    for (std::string_view word : type_words) {
      if (!equals_ignore_case(*type, word)) continue;
      if (const std::string* name = string_member(input, "NAME")) names.push_back(*name);
      break;
    }
  }
  return names;
}

}  // namespace params
