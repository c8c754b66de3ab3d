// The wording of the tool's messages. Paths are inserted as they are, so a
// '%' in a file name prints as itself.
#include "driver/messages.h"

namespace messages {

std::vector<std::string> usage_lines() {
  return {
      "Usage:\n\n",
      "isf2orvy input_path [output_path]\n\n",
      "If 'input_path' is a directory, all shaders in the directory will be procesed. In this "
      "case 'output_path' must also be a directory.\n",
      "If no output file path is specified, then a new file name\n",
      "will be generated from the input file name.\n",
  };
}

std::string extra_argument_ignored(const std::string& argument) {
  return "Warning: extra argument " + argument + " is ignored.\n";
}

std::string output_path_required() {
  return "Error: An output file path must be provided when input file path is a directory.\n";
}

std::string output_path_not_directory(const std::string& output_path) {
  return "Error: Output file path " + output_path +
         " must be a directory when the input file path is a directory.\n";
}

std::string input_path_invalid(const std::string& input_path) {
  return "*ERROR* Input file path " + input_path +
         " is neither a directory nor a file with the .fs extension\n";
}

std::string vertex_shader_refused(const std::string& shader_path) {
  return "*ERROR* Cannot Process ISF Shaders With Vertex Shaders (" + shader_path + ")\n";
}

std::string multiple_passes_refused(const std::string& shader_path) {
  return "*ERROR* Cannot Process ISF Shaders With Multiple Passes (" + shader_path + ")\n";
}

std::string converter_multiple_passes(const std::string& shader_path) {
  return "Cannot Process Files with multiple PASSES: " + shader_path + "\n";
}

std::string audio_inputs_refused(const std::string& shader_path) {
  return "*ERROR* Cannot Process ISF Shaders With Audio Inputs (" + shader_path + ")\n";
}

std::string imported_images_refused(const std::string& shader_path) {
  return "*ERROR* Cannot Process ISF Shaders With Imported Images (" + shader_path + ")\n";
}

std::string could_not_open_shader(const std::string& shader_path) {
  return "Error: could not open shader " + shader_path + ".\n";
}

std::string no_extension() { return "Error: input filename has no extension.\n"; }

std::string name_undetermined() { return "Error: input filename could not be determined.\n"; }

std::string could_not_read_shader(const std::string& shader_path) {
  return "Error: could not read shader " + shader_path + ".\n";
}

std::string could_not_write(const std::string& output_file_path) {
  return "Error: could not write output file " + output_file_path + ".\n";
}

std::string output_is_input(const std::string& output_file_path) {
  return "Error: output file " + output_file_path + " is the input shader.\n";
}

std::string output_is_shader(const std::string& output_file_path) {
  return "Error: output file " + output_file_path + " is an ISF shader; it was not overwritten.\n";
}

std::string no_isf_header(const std::string& shader_path) {
  return "Error: shader " + shader_path + " has no ISF header; nothing was written.\n";
}

std::string header_never_closes(const std::string& shader_path) {
  return "Error: the ISF header of shader " + shader_path + " never closes; nothing was written.\n";
}

std::string no_code_after_header(const std::string& shader_path) {
  return "Error: shader " + shader_path + " has no code after its ISF header; nothing was written.\n";
}

std::string header_unreadable(const std::string& shader_path) {
  return "Warning: could not read the ISF header of " + shader_path +
         "; parameters may be missing.\n";
}

std::string processed(const std::string& shader_path) {
  return "Successfully Processed " + shader_path + "\n";
}

std::string unexpected_error(const std::string& shader_path) {
  return "Unexpected error processing " + shader_path + "\n";
}

std::string standard_output_unwritable() {
  return "Error: could not write to standard output.\n";
}

}  // namespace messages
