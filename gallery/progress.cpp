// Writes through the driver's console, one whole message per write, under a
// lock so that lines from two workers never interleave.
#include "progress.h"

#include <string>

#include "driver/console.h"
#include "gallery_messages.h"

namespace gallery {
namespace {

constexpr std::size_t bar_width = 40;

}  // namespace

Progress::Progress(std::size_t total, bool terminal) : total_(total), terminal_(terminal) {
  if (terminal_ && total_ > 0) console::err(messages::progress_bar(0, total_, bar_width));
}

void Progress::advance(const ShaderEntry& entry) {
  std::lock_guard<std::mutex> lock(mutex_);
  ++done_;
  if (terminal_)
    console::err(messages::progress_bar(done_, total_, bar_width));
  else
    console::err(messages::progress_line(done_, total_, console::shown_on_err(entry.source_path),
                                         messages::verdict(entry)));
}

void Progress::finish() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (terminal_ && total_ > 0) console::err("\r" + std::string(bar_width + 24, ' ') + "\r");
}

}  // namespace gallery
