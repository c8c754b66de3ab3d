// JSON text for the report that keeps every byte of every string: a byte
// that is not part of valid UTF-8 is written as the lone surrogate U+DC00 +
// byte ("\udce9" for 0xE9), as Python's "surrogateescape" reads and writes
// file names, so a name that is not UTF-8 still names its file.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace gallery {

// The value as nlohmann::json's dump(2) lays it out, strings escaped as above.
std::string json_text(const nlohmann::json& value);

// The length of the valid UTF-8 sequence at `at`, 0 when the byte there
// starts none (overlong forms and surrogates are not valid).
std::size_t utf8_sequence_length(std::string_view text, std::size_t at);

// The text with each byte that is not valid UTF-8 shown as "\xE9", for the page.
std::string readable_text(std::string_view text);

}  // namespace gallery
