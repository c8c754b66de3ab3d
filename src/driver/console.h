// Writes one whole message to standard output or standard error. On a
// terminal the paths and names inside messages show their control characters
// as '?'; a failed write to standard output is remembered for the exit status.
#pragma once

#include <string>

namespace console {

// A message built around one path or name, such as messages::processed.
using PathMessage = std::string (*)(const std::string&);

void out(const std::string& message);
void err(const std::string& message);
// The message that `make` builds around `path`, with the path as shown on
// that stream.
void out(PathMessage make, const std::string& path);
void err(PathMessage make, const std::string& path);

// A path or name as it is shown on the stream: on a terminal each control
// character (bytes 0x00-0x1F and 0x7F) becomes '?', as `ls` shows names;
// elsewhere the bytes stay as they are, so scripts get the exact names.
std::string shown_on_out(const std::string& name);
std::string shown_on_err(const std::string& name);
std::string with_control_characters_shown(std::string name);

// The exit status of a run that ends now with `status`: when a write to
// standard output failed, that is reported on standard error and the status
// is at least 1.
int exit_status(int status);

}  // namespace console
