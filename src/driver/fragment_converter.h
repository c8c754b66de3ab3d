// Converts one shader file into one plug-in file: settles the output file
// path, converts the text of the shader as the driver read it, and writes
// the plug-in text.
#pragma once

#include <optional>
#include <string>

#include "driver/convert_source.h"
#include "driver/shader_file.h"
#include "platform/platform.h"

namespace driver {

enum class ConvertStatus {
  converted,  // the output file was written
  refused,    // the shader uses several passes, audio or imported images; nothing written
  failed,     // the shader could not be read, has no code, or its output was not written
  fatal,      // the shader cannot be opened or named: the run must end now
};

// The paths are the converter's own copies; `shader_kind` gives the output
// extension ("frag" -> ".frag"); `shader` is the reading of the file at
// `shader_path`. Every outcome has printed its message except `converted`,
// whose success line is the caller's.
ConvertStatus convert_shader(std::string shader_path, std::string output_path,
                             std::string shader_kind, ShaderFile shader);
// The same, reading the shader file first.
ConvertStatus convert_shader(std::string shader_path, std::string output_path,
                             std::string shader_kind);

// The message and status of a conversion that gave no text (a refusal, a
// shader without code): the one table shared by the tool and the gallery.
struct NoTextReport {
  std::string message;
  ConvertStatus status;
};
NoTextReport no_text_report(HeaderOutcome outcome, const std::string& shader_path);

// Writes the converted text of the shader with the identity `shader` to
// `target`, as every output is written; the message of the failure, or empty
// when the file was written.
std::string write_output_file(const std::optional<platform::FileId>& shader,
                              const std::string& target, const std::string& text);
// The same for the shader at `shader_path`.
std::string write_output_file(const std::string& shader_path, const std::string& target,
                              const std::string& text);

}  // namespace driver
