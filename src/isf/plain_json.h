// A quick reader for the JSON that headers are written in: ASCII strings
// without escapes, numbers, literals, blanks. It hands the values to a SAX
// handler exactly as the JSON library's parser would, and gives up at the
// first byte outside that subset and at any fault, so that the caller can
// start again with the library's parser, which reads all JSON and judges
// every fault.
#pragma once

#include <nlohmann/json.hpp>
#include <string_view>

namespace isf {

// True when `text` is one JSON value of the subset, all of it handed to
// `handler`, and the handler took every event. False leaves the handler
// with a part of the events: start again with a fresh one.
bool read_plain_json(std::string_view text, nlohmann::json_sax<nlohmann::json>& handler);

}  // namespace isf
