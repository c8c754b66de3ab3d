// A quick reader for the JSON that headers are written in: ASCII strings
// without escapes, numbers, literals, blanks. Anything else it leaves to the
// JSON library's parser.
#pragma once

#include <nlohmann/json.hpp>
#include <string_view>

namespace isf {

// Hands the values of `text` to `handler` exactly as the library's parser
// would, and gives up at the first byte outside the subset and at any fault,
// whose judgement it leaves to the library. True when `text` is one JSON
// value of the subset, all of it handed over, and the handler took every
// event; false leaves the handler with a part of the events: start again
// with a fresh one.
bool read_plain_json(std::string_view text, nlohmann::json_sax<nlohmann::json>& handler);

}  // namespace isf
