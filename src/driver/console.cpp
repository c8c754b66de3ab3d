// Messages go out with one write each; bytes are written as they are, NUL
// and '%' included.
#include "driver/console.h"

#include <cstdio>

namespace console {

void out(const std::string& message) {
  std::fwrite(message.data(), 1, message.size(), stdout);
  std::fflush(stdout);
}

void err(const std::string& message) {
  std::fwrite(message.data(), 1, message.size(), stderr);
  std::fflush(stderr);
}

}  // namespace console
