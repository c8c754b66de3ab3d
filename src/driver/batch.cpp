// The driver. The shader list is complete before the first conversion, so
// files the run itself creates are never picked up; a refused or failing
// shader is reported and the batch goes on.
#include "driver/batch.h"

#include "driver/console.h"
#include "driver/file_probes.h"
#include "driver/fragment_converter.h"
#include "driver/messages.h"
#include "platform/platform.h"

namespace driver {
namespace {

constexpr int exit_ok = 0;
constexpr int exit_failure = 1;

}  // namespace

int run(const std::vector<std::string>& arguments) {
  if (arguments.size() < 3) {
    for (const std::string& line : messages::usage_lines()) console::err(line);
    return exit_ok;
  }
  std::string input_path = arguments[1];
  std::string output_path = arguments[2];

  std::vector<std::string> shaders;
  FileKind input_kind = file_kind(input_path);
  if (input_kind == FileKind::directory) {
    if (!input_path.empty() && input_path.back() != platform::separator)
      input_path += platform::separator;
    if (output_path.empty()) {
      console::err(messages::output_path_required());
      return exit_failure;
    }
    if (file_kind(output_path) != FileKind::directory) {
      console::err(messages::output_path_not_directory(output_path));
      return exit_failure;
    }
    shaders = shaders_in_directory(input_path);
    // The converter gets the folder with its separator: should the folder go
    // away during the batch, a later write then fails instead of taking the
    // folder's path as the prefix of a file name beside it.
    if (output_path.back() != platform::separator) output_path += platform::separator;
  } else {
    if (input_kind != FileKind::regular_file || !extension_equals(input_path, "fs")) {
      console::err(messages::input_path_invalid(input_path));
      return exit_failure;
    }
    shaders.push_back(input_path);
  }

  bool all_written = true;
  for (const std::string& shader : shaders) {
    if (!vertex_companion(shader).empty()) {
      console::err(messages::vertex_shader_refused(shader));
      continue;
    }
    if (has_multiple_passes(shader)) {
      console::err(messages::multiple_passes_refused(shader));
      continue;
    }
    try {
      switch (convert_shader(shader, output_path, "frag")) {
        case ConvertStatus::converted: console::out(messages::processed(shader)); break;
        case ConvertStatus::refused_multi_pass: break;
        case ConvertStatus::write_failed: all_written = false; break;
        case ConvertStatus::fatal: return exit_failure;
      }
    } catch (...) {
      // Nothing was written for this shader, so the run cannot end as a success.
      console::out(messages::unexpected_error(shader));
      all_written = false;
    }
  }
  return all_written ? exit_ok : exit_failure;
}

}  // namespace driver
