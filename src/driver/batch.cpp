// The driver. The shader list is complete before the first conversion, so
// files the run itself creates are never picked up; a refused or failing
// shader is reported and the batch goes on.
#include "driver/batch.h"

#include <optional>

#include "driver/console.h"
#include "driver/conversion_pipeline.h"
#include "driver/file_probes.h"
#include "driver/fragment_converter.h"
#include "driver/messages.h"
#include "driver/shader_list.h"
#include "platform/platform.h"

namespace driver {
namespace {

constexpr int exit_ok = 0;
constexpr int exit_failure = 1;

// The folders of a batch as listed before the first conversion.
struct Listings {
  ListedFolder shaders;
  ListedFolder output;
  bool made = false;
};

// The shader list, complete before the first conversion; nothing when the
// arguments are in error (the message is printed). In directory mode the
// output path gets its separator here, and both folders are listed.
std::optional<std::vector<std::string>> shader_list(const std::string& input_path,
                                                    std::string& output_path,
                                                    Listings& listings) {
  ShaderInput input = classify_input(input_path);
  if (input.kind == InputKind::invalid) {
    console::err(messages::input_path_invalid, input_path);
    return std::nullopt;
  }
  if (input.kind == InputKind::folder) {
    if (output_path.empty()) {
      console::err(messages::output_path_required());
      return std::nullopt;
    }
    if (file_kind(output_path) != FileKind::directory) {
      console::err(messages::output_path_not_directory, output_path);
      return std::nullopt;
    }
    // The converter gets the folder with its separator: should the folder go
    // away during the batch, a later write then fails instead of taking the
    // folder's path as the prefix of a file name beside it.
    if (output_path.back() != platform::separator) output_path += platform::separator;
    std::optional<std::vector<platform::DirectoryEntry>> outputs =
        platform::list_entries(output_path);
    if (outputs) {
      listings.output = listed_folder(output_path, *outputs);
      listings.made = true;
    }
  }
  return list_shaders(input, &listings.shaders);
}

// Each message goes out as the stage that decides it runs.
// A message built around a path shows that path as the stream shows names.
void print(const Message& message) {
  const bool out = message.stream == Message::Stream::out;
  if (message.make != nullptr) {
    out ? console::out(message.make, message.path) : console::err(message.make, message.path);
  } else {
    out ? console::out(message.text) : console::err(message.text);
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
  Listings listings;
  std::optional<std::vector<std::string>> shaders =
      shader_list(arguments[1], output_path, listings);
  if (!shaders) return exit_failure;

  BatchKnowledge folders;
  if (listings.made) {
    folders.shader_folder = &listings.shaders;
    folders.output_folder = &listings.output;
  }
  ConvertStatus worst = convert_in_order(*shaders, output_path, "frag", print, folders);
  bool all_done = worst == ConvertStatus::converted;
  return console::exit_status(all_done ? exit_ok : exit_failure);
}

}  // namespace driver
