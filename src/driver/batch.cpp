// The driver. The shader list is complete before the first conversion, so
// files the run itself creates are never picked up; a refused or failing
// shader is reported and the batch goes on.
#include "driver/batch.h"

#include <new>
#include <optional>
#include <utility>

#include "driver/console.h"
#include "driver/file_probes.h"
#include "driver/fragment_converter.h"
#include "driver/messages.h"
#include "driver/shader_file.h"
#include "platform/platform.h"

namespace driver {
namespace {

constexpr int exit_ok = 0;
constexpr int exit_failure = 1;

// The shader list, complete before the first conversion; nothing when the
// arguments are in error (the message is printed). In directory mode the
// output path gets its separator here.
std::optional<std::vector<std::string>> shader_list(std::string input_path,
                                                    std::string& output_path) {
  FileKind input_kind = file_kind(input_path);
  if (input_kind != FileKind::directory) {
    if (input_kind != FileKind::regular_file || !extension_equals(input_path, "fs")) {
      console::err(messages::input_path_invalid(input_path));
      return std::nullopt;
    }
    return std::vector<std::string>{input_path};
  }
  if (!input_path.empty() && input_path.back() != platform::separator)
    input_path += platform::separator;
  if (output_path.empty()) {
    console::err(messages::output_path_required());
    return std::nullopt;
  }
  if (file_kind(output_path) != FileKind::directory) {
    console::err(messages::output_path_not_directory(output_path));
    return std::nullopt;
  }
  // The converter gets the folder with its separator: should the folder go
  // away during the batch, a later write then fails instead of taking the
  // folder's path as the prefix of a file name beside it.
  if (output_path.back() != platform::separator) output_path += platform::separator;
  return shaders_in_directory(input_path);
}

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

// One shader, from the refusals to the success line. Anything unexpected,
// running out of memory included, fails this shader alone: nothing of it has
// been written, and the batch goes on.
ConvertStatus process_shader(const std::string& shader, const std::string& output_path) {
  try {
    if (!vertex_companion(shader).empty()) {
      console::err(messages::vertex_shader_refused(shader));
      return ConvertStatus::refused;
    }
    // The probes search what was read: nothing of a file that did not open,
    // the part before a read error. The converter reports both failures.
    std::optional<ShaderFile> file = read_or_refuse(shader);
    if (!file || mentions_multiple_passes(file->text)) {
      console::err(messages::multiple_passes_refused(shader));
      return ConvertStatus::refused;
    }
    ConvertStatus status = convert_shader(shader, output_path, "frag", std::move(*file));
    if (status == ConvertStatus::converted) console::out(messages::processed(shader));
    return status;
  } catch (...) {
    console::out(messages::unexpected_error(shader));
    return ConvertStatus::failed;
  }
}

}  // namespace

int run(const std::vector<std::string>& arguments) {
  if (arguments.size() < 3) {
    for (const std::string& line : messages::usage_lines()) console::err(line);
    return exit_ok;
  }
  for (std::size_t extra = 3; extra < arguments.size(); ++extra)
    console::err(messages::extra_argument_ignored(arguments[extra]));

  std::string output_path = arguments[2];
  std::optional<std::vector<std::string>> shaders = shader_list(arguments[1], output_path);
  if (!shaders) return exit_failure;

  bool all_done = true;
  for (const std::string& shader : *shaders) {
    ConvertStatus status = process_shader(shader, output_path);
    if (status == ConvertStatus::fatal) return exit_failure;
    if (status == ConvertStatus::failed) all_done = false;
  }
  return all_done ? exit_ok : exit_failure;
}

}  // namespace driver
