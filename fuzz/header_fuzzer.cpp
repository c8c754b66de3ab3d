// Fuzz target: the header path alone. The input is the JSON text of a header
// comment, or a whole shader file (when it opens with "/*"), whose header is
// taken out first. Only the JSON library's own errors may leave the parse and
// the translation; anything else is a fault, and so is a header text that the
// quick reader reads otherwise than the library.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "isf/bounded_builder.h"
#include "isf/description.h"
#include "isf/header.h"
#include "isf/plain_json.h"
#include "isf/source_reader.h"
#include "params/translate_inputs.h"

namespace {

constexpr std::size_t max_input = 64 * 1024;

void translate_header(const std::string& header_text, const std::string& body) {
  params::ShaderBlocks blocks;
  try {
    std::optional<nlohmann::json> header = isf::parse_header(header_text);
    if (!header) return;
    isf::HeaderMembers members = isf::lookup_header_members(std::move(*header));
    if (isf::is_multi_pass(body, members.passes)) return;
    blocks.comment += isf::description_lines(members.credit, members.description);
    params::translate_inputs(members.inputs, blocks);
  } catch (const nlohmann::json::exception&) {
    // A header the converter reads as far as it goes; what was built stays.
  }
}

// Every text that the quick reader reads, the library reads to the same
// value (dump() tells 1 from 1.0 as well).
void check_plain_reader(const std::string& text) {
  nlohmann::json plain;
  isf::BoundedBuilder builder(plain);
  if (!isf::read_plain_json(text, builder)) return;
  const nlohmann::json library = nlohmann::json::parse(text, nullptr, false);
  if (library.is_discarded() || library.dump() != plain.dump()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > max_input) return 0;
  std::string text(reinterpret_cast<const char*>(data), size);
  if (text.compare(0, 2, "/*") == 0) {
    isf::ShaderSource source = isf::read_shader_source(text);
    translate_header(source.header_text, source.body);
    check_plain_reader(source.header_text);
  } else {
    translate_header(text, std::string());
    check_plain_reader(text);
  }
  return 0;
}
