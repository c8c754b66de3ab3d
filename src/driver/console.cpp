// Messages go out with one write each; bytes are written as they are, NUL
// and '%' included. Whether each stream is a terminal is asked once per run.
#include "driver/console.h"

#include <algorithm>
#include <atomic>
#include <cstdio>

#include "driver/messages.h"
#include "platform/platform.h"

namespace console {
namespace {

struct Streams {
  bool out_terminal;
  bool err_terminal;
};

// Settled before the first message. A reader of standard output that goes
// away makes the next write fail like a full disk: the run goes on.
const Streams& streams() {
  static const Streams settled = [] {
    platform::keep_running_on_closed_pipes();
    return Streams{platform::stdout_is_terminal(), platform::stderr_is_terminal()};
  }();
  return settled;
}

std::atomic<bool> out_failed{false};

}  // namespace

void out(const std::string& message) {
  streams();
  bool whole = std::fwrite(message.data(), 1, message.size(), stdout) == message.size();
  if (std::fflush(stdout) != 0 || !whole) out_failed = true;
}

void err(const std::string& message) {
  streams();
  std::fwrite(message.data(), 1, message.size(), stderr);
  std::fflush(stderr);
}

void out(PathMessage make, const std::string& path) { out(make(shown_on_out(path))); }

void err(PathMessage make, const std::string& path) { err(make(shown_on_err(path))); }

std::string with_control_characters_shown(std::string name) {
  for (char& c : name) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) c = '?';
  }
  return name;
}

std::string shown_on_out(const std::string& name) {
  return streams().out_terminal ? with_control_characters_shown(name) : name;
}

std::string shown_on_err(const std::string& name) {
  return streams().err_terminal ? with_control_characters_shown(name) : name;
}

int exit_status(int status) {
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) out_failed = true;
  if (!out_failed) return status;
  err(messages::standard_output_unwritable());
  return std::max(status, 1);
}

}  // namespace console
