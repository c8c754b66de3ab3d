// Every text that isf2orvy prints, in one place. Each function returns one
// complete message; `%s` in the wording below stands for the path argument.
#pragma once

#include <string>
#include <vector>

namespace messages {

// Five lines, each written separately, to standard error.
std::vector<std::string> usage_lines();

// Arguments after the second (standard error; the run goes on).
std::string extra_argument_ignored(const std::string& argument);

// Argument errors (standard error, exit status 1).
std::string output_path_required();
std::string output_path_not_directory(const std::string& output_path);
std::string input_path_invalid(const std::string& input_path);

// Refusals (standard error; the shader is skipped).
std::string vertex_shader_refused(const std::string& shader_path);
std::string multiple_passes_refused(const std::string& shader_path);
std::string converter_multiple_passes(const std::string& shader_path);
std::string audio_inputs_refused(const std::string& shader_path);
std::string imported_images_refused(const std::string& shader_path);

// Fatal converter errors (standard error, exit status 1 at once).
std::string could_not_open_shader(const std::string& shader_path);
std::string no_extension();
std::string name_undetermined();

// Per-shader failures (standard error; the batch goes on, the run ends with 1).
std::string could_not_read_shader(const std::string& shader_path);
std::string could_not_write(const std::string& output_file_path);
std::string output_is_input(const std::string& output_file_path);
std::string output_is_shader(const std::string& output_file_path);
// A shader with nothing to convert, by what it lacks.
std::string no_isf_header(const std::string& shader_path);
std::string header_never_closes(const std::string& shader_path);
std::string no_code_after_header(const std::string& shader_path);

// The header could not be read; the conversion goes on without it.
std::string header_unreadable(const std::string& shader_path);

// Standard output.
std::string processed(const std::string& shader_path);
std::string unexpected_error(const std::string& shader_path);

// A write to standard output failed (standard error, at the end; exit status 1).
std::string standard_output_unwritable();

}  // namespace messages
