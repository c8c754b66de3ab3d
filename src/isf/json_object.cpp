// The wording follows the library's own message, so that a header that is
// not an object fails as indexing it by key would.
#include "isf/json_object.h"

#include <string>

namespace isf {

void require_object(const nlohmann::json& value) {
  if (value.is_object()) return;
  throw nlohmann::json::type_error::create(
      305, std::string("cannot use operator[] with a string argument with ") + value.type_name(),
      &value);
}

}  // namespace isf
