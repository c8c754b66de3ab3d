// The names of the inputs of some types, read before the translation and
// without its type errors: an element that is not an object with a string
// TYPE and a string NAME is passed over.
#pragma once

#include <initializer_list>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace params {

// The NAME of each element of `inputs` whose TYPE matches one of
// `type_words` without regard to ASCII case, in input order.
std::vector<std::string> input_names_of_type(const nlohmann::json& inputs,
                                             std::initializer_list<std::string_view> type_words);

}  // namespace params
