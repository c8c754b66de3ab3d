// One shader converted by the converter's own function, its result kept in
// the entry. Where isf2orvy prints a message and stops or skips, the entry
// records the same words and the gallery goes on with the next shader.
#include "convert_step.h"

#include <utility>

#include "driver/fragment_converter.h"
#include "driver/shader_list.h"
#include "frag_lines.h"
#include "platform/platform.h"

namespace gallery {
namespace {

// The converter's messages end in a line feed; the page shows them as lines.
std::string without_line_end(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

bool header_unreadable(const driver::ShaderConversion& result) {
  return result.conversion.header == convert::HeaderOutcome::unreadable;
}

// The refusals have outcomes of their own; every other failure is the
// converter's error.
Outcome outcome_of(const driver::ShaderConversion& result) {
  switch (result.refusal) {
    case driver::Refusal::vertex_shader: return Outcome::refused_vertex_shader;
    case driver::Refusal::several_passes: return Outcome::refused_several_passes;
    case driver::Refusal::audio_inputs: return Outcome::refused_audio_inputs;
    case driver::Refusal::imported_images: return Outcome::refused_imported_images;
    case driver::Refusal::none: break;
  }
  if (result.status != driver::ConvertStatus::converted) return Outcome::converter_error;
  return header_unreadable(result) ? Outcome::converted_header_unreadable : Outcome::converted;
}

// The converter's own words: for a converted shader the note on its header
// (the success line is no news on the page), else the message that ended it.
std::string converter_message(const driver::ShaderConversion& result) {
  if (result.messages.empty()) return {};
  if (result.status != driver::ConvertStatus::converted)
    return without_line_end(result.messages.back().text);
  return header_unreadable(result) ? without_line_end(result.messages.front().text)
                                   : std::string();
}

}  // namespace

bool is_converted(Outcome outcome) {
  return outcome == Outcome::converted || outcome == Outcome::converted_header_unreadable;
}

std::optional<std::vector<std::string>> list_shaders(const std::string& input_path) {
  driver::ShaderInput input = driver::classify_input(input_path);
  if (input.kind == driver::InputKind::invalid) return std::nullopt;
  return driver::list_shaders(input);
}

ShaderEntry convert_entry(const std::string& shader_path, const std::string& gallery_folder) {
  driver::ShaderConversion result =
      driver::convert_shader_file(shader_path, gallery_folder, "frag", {}, /*with_details=*/true);
  ShaderEntry entry;
  entry.source_path = shader_path;
  std::size_t slash = shader_path.rfind(platform::separator);
  entry.file_name = shader_path.substr(slash == std::string::npos ? 0 : slash + 1);
  entry.stem = std::move(result.base_name);
  entry.outcome = outcome_of(result);
  entry.converter_message = converter_message(result);
  entry.fs_text = std::move(result.shader_text);
  entry.frag_path = std::move(result.output_file);
  entry.frag_written = result.status == driver::ConvertStatus::converted;
  convert::SourceConversion& conversion = result.conversion;
  entry.header = std::move(conversion.facts);
  // A conversion that gave text, written or not.
  if (!conversion.text.empty()) {
    entry.frag_lines = place_frag_lines(conversion);
    entry.frag_text = std::move(conversion.text);
    entry.parameters = std::move(conversion.parameters);
  }
  return entry;
}

}  // namespace gallery
