// The frame of one conversion. The output file path is fixed before the
// shader is read; the file is written only at the very end, in one step, so
// that a failed write leaves the previous file as it was.
#include "driver/fragment_converter.h"

#include <utility>

#include "driver/console.h"
#include "driver/convert_source.h"
#include "driver/file_probes.h"
#include "driver/messages.h"
#include "driver/output_path.h"
#include "platform/platform.h"

namespace driver {
namespace {

ConvertStatus write_output(const std::optional<platform::FileId>& shader,
                           const std::string& target, const std::string& text) {
  std::string error = write_output_file(shader, target, text);
  if (error.empty()) return ConvertStatus::converted;
  console::err(error);
  return ConvertStatus::failed;
}

}  // namespace

// The one place where an output file is written. Neither the shader itself
// nor any other ISF shader is ever replaced by an output. The output path is
// looked up once, and every test below takes its answer from there.
std::string write_output_file(const std::optional<platform::FileId>& shader,
                              const std::string& target, const std::string& text) {
  platform::OutputFile output = platform::look_up_output(target);
  if (shader && output.identity == shader) return messages::output_is_input(target);
  if (is_isf_shader(output)) return messages::output_is_shader(target);
  if (!platform::write_file(output, text)) return messages::could_not_write(target);
  return {};
}

std::string write_output_file(const std::string& shader_path, const std::string& target,
                              const std::string& text) {
  return write_output_file(platform::file_identity(shader_path), target, text);
}

ConvertStatus convert_shader(std::string shader_path, std::string output_path,
                             std::string shader_kind) {
  ShaderFile shader = read_shader_file(shader_path);
  return convert_shader(std::move(shader_path), std::move(output_path), std::move(shader_kind),
                        std::move(shader));
}

ConvertStatus convert_shader(std::string shader_path, std::string output_path,
                             std::string shader_kind, ShaderFile shader) {
  std::string output_extension = shader_kind.empty() ? shader_kind : "." + shader_kind;
  // One look at the output path: a folder gets its separator, and that
  // changes no answer about it. A path that ends in the separator already
  // (as a batch's output folder does) names a folder or nothing, never a
  // file, and either way the output file path is the same: it needs no look.
  FileKind output_kind = FileKind::status_failed;
  if (!output_path.empty() && output_path.back() != platform::separator)
    output_kind = file_kind(output_path);
  output_path = with_directory_separator(output_path, output_kind);

  platform::ReadStatus read = shader.status;
  if (read == platform::ReadStatus::cannot_open) {
    console::err(messages::could_not_open_shader(shader_path));
    return ConvertStatus::fatal;
  }
  ShaderName name = split_shader_path(shader_path);
  if (name.extension.empty()) {
    console::err(messages::no_extension());
    return ConvertStatus::fatal;
  }
  if (name.base_name.empty()) {
    console::err(messages::name_undetermined());
    return ConvertStatus::fatal;
  }
  std::string target = output_file_path(name, output_path, output_kind, output_extension);
  // A read error is no end of the file: a shader read in part is not converted.
  if (read == platform::ReadStatus::read_error) {
    console::err(messages::could_not_read_shader(shader_path));
    return ConvertStatus::failed;
  }

  SourceConversion conversion = convert_source(std::move(shader.text));
  if (gives_no_text(conversion.header)) {
    const NoTextReport report = no_text_report(conversion.header, shader_path);
    console::err(report.message);
    return report.status;
  }
  if (conversion.header == HeaderOutcome::unreadable)
    console::err(messages::header_unreadable(shader_path));
  return write_output(shader.identity, target, conversion.text);
}

NoTextReport no_text_report(HeaderOutcome outcome, const std::string& shader_path) {
  switch (outcome) {
    case HeaderOutcome::multi_pass:
      return {messages::converter_multiple_passes(shader_path), ConvertStatus::refused};
    case HeaderOutcome::audio:
      return {messages::audio_inputs_refused(shader_path), ConvertStatus::refused};
    case HeaderOutcome::imported:
      return {messages::imported_images_refused(shader_path), ConvertStatus::refused};
    case HeaderOutcome::no_header:
      return {messages::no_isf_header(shader_path), ConvertStatus::failed};
    case HeaderOutcome::header_never_closes:
      return {messages::header_never_closes(shader_path), ConvertStatus::failed};
    case HeaderOutcome::no_code:
    case HeaderOutcome::read:
    case HeaderOutcome::unreadable:
      break;
  }
  return {messages::no_code_after_header(shader_path), ConvertStatus::failed};
}

}  // namespace driver
