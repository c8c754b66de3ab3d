// The first lines of the plug-in's comment block: the credit line and the
// host's plug-in description macro.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace isf {

// The credit line ("// CREDIT: ...\n") when `credit` is a non-empty string,
// then the description line ("// ORVANE_PLUGIN_DESC(\"...\")\n") when
// `description` is a non-empty string. Line breaks inside either text are
// written as single spaces so that each stays one comment line.
std::string description_lines(const nlohmann::json& credit, const nlohmann::json& description);

}  // namespace isf
