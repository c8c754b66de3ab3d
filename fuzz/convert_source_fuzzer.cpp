// Fuzz target: the whole conversion of one shader file's bytes, in memory,
// through the same function the tool runs between reading and writing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>

#include "convert/convert_source.h"

namespace {

// Real shaders are a few kilobytes; larger inputs only slow the search down.
constexpr std::size_t max_input = 64 * 1024;

// Every rewrite lengthens a name by a bounded factor (the longest is a
// one-letter image name becoming a call on its sampler), so an output far
// beyond this points to text being duplicated.
constexpr std::size_t output_growth = 64;
constexpr std::size_t output_slack = 64 * 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > max_input) return 0;
  std::string file_text(reinterpret_cast<const char*>(data), size);
  convert::SourceConversion conversion = convert::convert_source(std::move(file_text));
  if (convert::gives_no_text(conversion.header) && !conversion.text.empty()) std::abort();
  if (conversion.text.size() > output_growth * size + output_slack) std::abort();
  return 0;
}
