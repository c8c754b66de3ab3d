// Counts the nesting of a JSON text in one pass, skipping string literals so
// that brackets inside names and descriptions do not count.
#include "isf/json_nesting.h"

#include <nlohmann/json.hpp>
#include <string>

namespace isf {

void check_header_nesting(std::string_view header_text) {
  std::size_t depth = 0;
  bool in_string = false;
  bool escaped = false;
  for (std::size_t i = 0; i < header_text.size(); ++i) {
    char c = header_text[i];
    if (in_string) {
      if (escaped) {
        escaped = false;
      } else if (c == '\\') {
        escaped = true;
      } else if (c == '"') {
        in_string = false;
      }
    } else if (c == '"') {
      in_string = true;
    } else if (c == '[' || c == '{') {
      if (++depth > max_header_nesting) {
        throw nlohmann::json::parse_error::create(
            101, i + 1,
            "syntax error: arrays and objects nest deeper than " +
                std::to_string(max_header_nesting) + " levels",
            nullptr);
      }
    } else if ((c == ']' || c == '}') && depth > 0) {
      --depth;
    }
  }
}

}  // namespace isf
