// Writes one whole message to standard output or standard error.
#pragma once

#include <string>

namespace console {

void out(const std::string& message);
void err(const std::string& message);

}  // namespace console
