// One shader through the converter's stages, in the driver's order: vertex
// companion, multi-pass probe, reading, output path, conversion, writing.
// Where the driver prints a message and stops or skips, the entry records the
// same words and the gallery goes on with the next shader.
#include "convert_step.h"

#include <new>
#include <sstream>

#include "driver/convert_source.h"
#include "driver/file_probes.h"
#include "driver/fragment_converter.h"
#include "driver/messages.h"
#include "driver/output_path.h"
#include "frag_lines.h"
#include "header_facts.h"
#include "platform/platform.h"

namespace gallery {
namespace {

// The converter's messages end in a line feed; the page shows them as lines.
std::string without_line_end(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

ShaderEntry refused(ShaderEntry entry, Outcome outcome, const std::string& message) {
  entry.outcome = outcome;
  entry.converter_message = without_line_end(message);
  return entry;
}

// The converter's refusals have outcomes of their own; a shader without
// code is the converter's error.
Outcome no_text_outcome(driver::HeaderOutcome outcome) {
  switch (outcome) {
    case driver::HeaderOutcome::multi_pass: return Outcome::refused_several_passes;
    case driver::HeaderOutcome::audio: return Outcome::refused_audio_inputs;
    case driver::HeaderOutcome::imported: return Outcome::refused_imported_images;
    default: return Outcome::converter_error;
  }
}

std::vector<params::ParameterMacro> read_parameters(const std::string& frag_text) {
  std::vector<params::ParameterMacro> parameters;
  std::istringstream lines(frag_text);
  std::string line;
  while (std::getline(lines, line))
    if (auto macro = params::parse_parameter_macro_line(line)) parameters.push_back(*macro);
  return parameters;
}

ShaderEntry convert_checked(ShaderEntry entry, const std::string& gallery_folder) {
  const std::string& path = entry.source_path;
  if (!driver::vertex_companion(path).empty())
    return refused(entry, Outcome::refused_vertex_shader, ::messages::vertex_shader_refused(path));
  if (driver::has_multiple_passes(path))
    return refused(entry, Outcome::refused_several_passes,
                   ::messages::multiple_passes_refused(path));
  platform::ReadStatus read = platform::read_file(path, entry.fs_text);
  if (read == platform::ReadStatus::cannot_open)
    return refused(entry, Outcome::converter_error, ::messages::could_not_open_shader(path));
  driver::ShaderName name = driver::split_shader_path(path);
  if (name.extension.empty())
    return refused(entry, Outcome::converter_error, ::messages::no_extension());
  if (name.base_name.empty())
    return refused(entry, Outcome::converter_error, ::messages::name_undetermined());
  entry.frag_path =
      driver::output_file_path(name, gallery_folder, driver::FileKind::directory, ".frag");
  if (read == platform::ReadStatus::read_error)
    return refused(entry, Outcome::converter_error, ::messages::could_not_read_shader(path));
  entry.header = read_header_facts(entry.fs_text);

  driver::SourceConversion conversion = driver::convert_source(entry.fs_text, /*with_line_map=*/true);
  if (driver::gives_no_text(conversion.header))
    return refused(entry, no_text_outcome(conversion.header),
                   driver::no_text_report(conversion.header).message(path));
  entry.outcome = Outcome::converted;
  if (conversion.header == driver::HeaderOutcome::unreadable) {
    entry.outcome = Outcome::converted_header_unreadable;
    entry.converter_message = without_line_end(::messages::header_unreadable(path));
  }
  entry.frag_lines = place_frag_lines(conversion);
  entry.frag_text = std::move(conversion.text);
  entry.parameters = read_parameters(entry.frag_text);

  console::PathMessage failure = driver::write_output_file(path, entry.frag_path, entry.frag_text);
  if (failure != nullptr) return refused(entry, Outcome::converter_error, failure(entry.frag_path));
  entry.frag_written = true;
  return entry;
}

}  // namespace

bool is_converted(Outcome outcome) {
  return outcome == Outcome::converted || outcome == Outcome::converted_header_unreadable;
}

std::optional<std::vector<std::string>> list_shaders(const std::string& input_path) {
  driver::FileKind kind = driver::file_kind(input_path);
  if (kind == driver::FileKind::directory) {
    std::string folder = input_path;
    if (!folder.empty() && folder.back() != platform::separator) folder += platform::separator;
    return driver::shaders_in_directory(folder);
  }
  if (kind == driver::FileKind::regular_file && driver::extension_equals(input_path, "fs"))
    return std::vector<std::string>{input_path};
  return std::nullopt;
}

ShaderEntry convert_entry(const std::string& shader_path, const std::string& gallery_folder) {
  auto named = [&shader_path]() {
    ShaderEntry entry;
    entry.source_path = shader_path;
    std::size_t slash = shader_path.rfind(platform::separator);
    entry.file_name = shader_path.substr(slash == std::string::npos ? 0 : slash + 1);
    entry.stem = driver::split_shader_path(shader_path).base_name;
    return entry;
  };
  try {
    return convert_checked(named(), gallery_folder);
  } catch (const std::exception&) {
    // As the driver's catch-all: nothing of this shader is kept.
    return refused(named(), Outcome::converter_error, ::messages::unexpected_error(shader_path));
  }
}

}  // namespace gallery
