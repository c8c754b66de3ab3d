// The frame of one conversion. The refusal probes come first, then the one
// reading of the shader; the output file path is fixed before the text is
// converted, and the file is written only at the very end, in one step, so
// that a failed write leaves the previous file as it was.
#include "driver/fragment_converter.h"

#include <new>
#include <optional>
#include <utility>

#include "driver/file_probes.h"
#include "driver/messages.h"
#include "driver/output_path.h"
#include "driver/read_ahead.h"
#include "driver/shader_file.h"
#include "platform/platform.h"

namespace driver {
namespace {

// One conversion under way: its result and where its messages go.
struct Conversion {
  ShaderConversion& result;
  const MessageSink& sink;

  void tell(Message message) {
    if (sink)
      sink(message);
    else
      result.messages.push_back(std::move(message));
  }
  void tell(Message::Stream stream, std::string text) {
    tell(Message{stream, std::move(text), nullptr, {}});
  }
  void tell(Message::Stream stream, console::PathMessage make, const std::string& path) {
    tell(Message{stream, make(path), make, path});
  }
  void end(ConvertStatus status, std::string message) {
    result.status = status;
    tell(Message::Stream::err, std::move(message));
  }
  void end(ConvertStatus status, console::PathMessage make, const std::string& path,
           Refusal refusal = Refusal::none) {
    result.status = status;
    result.refusal = refusal;
    tell(Message::Stream::err, make, path);
  }
};

// The shader file, read once for the probes and the converter. A file too
// large to hold is still searched for the multi-pass markers, piece by piece,
// so that it is refused as any multi-pass shader is; otherwise it fails.
std::optional<ShaderFile> read_or_refuse(const std::string& shader) {
  try {
    return read_shader_file(shader);
  } catch (const std::bad_alloc&) {
    if (!has_multiple_passes(shader)) throw;
    return std::nullopt;
  }
}

// Neither the shader itself nor any other ISF shader is ever replaced by an
// output. The output path is looked up once, and every test below takes its
// answer from there. The message of the failure, built around the target,
// or null when written.
console::PathMessage write_output_file(const std::optional<platform::FileId>& shader,
                                       const std::string& target, const std::string& text,
                                       const BatchKnowledge& known) {
  const ListedFolder* output_folder = known.output_folder;
  // Written ahead to a new file: put in place. Should that fail, the
  // output is written as any other, and fails or not as that says.
  ReadAhead* ahead = known.ahead;
  if (ahead != nullptr && ahead->staged.staged() && ahead->staged_for == target &&
      ahead->staged.commit(target))
    return nullptr;
  platform::OutputFile output;  // nothing there, as a name the listing rules out
  output.final_path = target;
  if (output_folder == nullptr || may_exist(*output_folder, target))
    output = platform::look_up_output(target);
  if (shader && output.identity == shader) return messages::output_is_input;
  if (is_isf_shader(output)) return messages::output_is_shader;
  if (!platform::write_file(output, text)) return messages::could_not_write;
  return nullptr;
}

// The message, status and refusal of a conversion that gave no text (a
// refusal, a shader without code).
void end_without_text(Conversion& conversion, convert::HeaderOutcome outcome,
                      const std::string& shader_path) {
  using convert::HeaderOutcome;
  switch (outcome) {
    case HeaderOutcome::multi_pass:
      return conversion.end(ConvertStatus::refused,
                            messages::converter_multiple_passes, shader_path,
                            Refusal::several_passes);
    case HeaderOutcome::audio:
      return conversion.end(ConvertStatus::refused, messages::audio_inputs_refused, shader_path,
                            Refusal::audio_inputs);
    case HeaderOutcome::imported:
      return conversion.end(ConvertStatus::refused,
                            messages::imported_images_refused, shader_path,
                            Refusal::imported_images);
    case HeaderOutcome::no_header:
      return conversion.end(ConvertStatus::failed, messages::no_isf_header, shader_path);
    case HeaderOutcome::header_never_closes:
      return conversion.end(ConvertStatus::failed, messages::header_never_closes, shader_path);
    case HeaderOutcome::no_code:
    case HeaderOutcome::read:
    case HeaderOutcome::unreadable:
      break;
  }
  conversion.end(ConvertStatus::failed, messages::no_code_after_header, shader_path);
}

// From the output path to the output file path, on the shader's reading;
// false when the conversion ends there.
bool name_output(Conversion& conversion, const std::string& shader_path, const ShaderName& name,
                 std::string output_path, const std::string& shader_kind,
                 platform::ReadStatus read) {
  ShaderConversion& result = conversion.result;
  std::string output_extension = shader_kind.empty() ? shader_kind : "." + shader_kind;
  // One look at the output path: a folder gets its separator, and that
  // changes no answer about it. A path that ends in the separator already
  // (as a batch's output folder does) names a folder or nothing, never a
  // file, and either way the output file path is the same: it needs no look.
  FileKind output_kind = FileKind::status_failed;
  if (!output_path.empty() && output_path.back() != platform::separator)
    output_kind = file_kind(output_path);
  output_path = with_directory_separator(output_path, output_kind);

  if (read == platform::ReadStatus::cannot_open) {
    conversion.end(ConvertStatus::fatal, messages::could_not_open_shader, shader_path);
    return false;
  }
  if (name.extension.empty()) {
    conversion.end(ConvertStatus::fatal, messages::no_extension());
    return false;
  }
  if (name.base_name.empty()) {
    conversion.end(ConvertStatus::fatal, messages::name_undetermined());
    return false;
  }
  result.output_file = output_file_path(name, output_path, output_kind, output_extension);
  // A read error is no end of the file: a shader read in part is not converted.
  if (read == platform::ReadStatus::read_error) {
    conversion.end(ConvertStatus::failed, messages::could_not_read_shader, shader_path);
    return false;
  }
  return true;
}

// From the conversion done to the written file.
void write_converted(Conversion& conversion, const std::string& shader_path,
                     const std::optional<platform::FileId>& shader, const BatchKnowledge& known) {
  ShaderConversion& result = conversion.result;
  const convert::HeaderOutcome header = result.conversion.header;
  if (convert::gives_no_text(header)) return end_without_text(conversion, header, shader_path);
  if (header == convert::HeaderOutcome::unreadable)
    conversion.tell(Message::Stream::err, messages::header_unreadable, shader_path);
  console::PathMessage failure =
      write_output_file(shader, result.output_file, result.conversion.text, known);
  if (failure != nullptr) return conversion.end(ConvertStatus::failed, failure, result.output_file);
  result.status = ConvertStatus::converted;
  conversion.tell(Message::Stream::out, messages::processed, shader_path);
}

// The refusal probes, then the conversion of what was read, now or ahead.
void convert_checked(Conversion& conversion, const std::string& shader_path,
                     const ShaderName& name, std::string output_path,
                     const std::string& shader_kind, bool with_details,
                     const BatchKnowledge& known) {
  if (!vertex_companion(shader_path, known.shader_folder).empty())
    return conversion.end(ConvertStatus::refused, messages::vertex_shader_refused, shader_path,
                          Refusal::vertex_shader);
  ShaderConversion& result = conversion.result;
  ReadAhead* ahead = known.ahead;
  if (ahead != nullptr && !with_details && still_current(*ahead, shader_path)) {
    if (ahead->several_passes)
      return conversion.end(ConvertStatus::refused, messages::multiple_passes_refused,
                            shader_path, Refusal::several_passes);
    if (!name_output(conversion, shader_path, name, std::move(output_path), shader_kind,
                     platform::ReadStatus::read))
      return;
    result.conversion = std::move(ahead->conversion);
    return write_converted(conversion, shader_path, ahead->stamp->id, known);
  }
  // Read now: nothing done ahead (the text written ahead included) stands.
  BatchKnowledge now = known;
  now.ahead = nullptr;
  // The probes search what was read: nothing of a file that did not open,
  // the part before a read error. The converter reports both failures.
  std::optional<ShaderFile> file = read_or_refuse(shader_path);
  if (!file || mentions_multiple_passes(file->text))
    return conversion.end(ConvertStatus::refused, messages::multiple_passes_refused, shader_path,
                          Refusal::several_passes);
  if (with_details) result.shader_text = file->text;
  if (!name_output(conversion, shader_path, name, std::move(output_path), shader_kind,
                   file->status))
    return;
  result.conversion = convert::convert_source(std::move(file->text), with_details);
  write_converted(conversion, shader_path, file->identity, now);
}

}  // namespace

std::string new_output_file(const std::string& shader_path, const std::string& shader_kind,
                            const ListedFolder& output_folder) {
  ShaderName name = split_shader_path(shader_path);
  if (name.extension.empty() || name.base_name.empty()) return {};
  std::string output_extension = shader_kind.empty() ? shader_kind : "." + shader_kind;
  std::string target = output_file_path(name, output_folder.path, FileKind::status_failed,
                                        output_extension);
  return may_exist(output_folder, target) ? std::string() : target;
}

ShaderConversion convert_shader_file(const std::string& shader_path, std::string output_path,
                                     const std::string& shader_kind, const MessageSink& sink,
                                     bool with_details, const BatchKnowledge& known) {
  ShaderConversion result;
  Conversion conversion{result, sink};
  try {
    ShaderName name = split_shader_path(shader_path);
    result.base_name = name.base_name;
    convert_checked(conversion, shader_path, name, std::move(output_path), shader_kind,
                    with_details, known);
  } catch (...) {
    // Nothing of this shader is kept but its name and the messages told.
    ShaderConversion failed;
    failed.base_name = std::move(result.base_name);
    failed.messages = std::move(result.messages);
    result = std::move(failed);
    conversion.tell(Message::Stream::out, messages::unexpected_error, shader_path);
  }
  return result;
}

}  // namespace driver
