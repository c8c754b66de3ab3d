// One shader file converted into one plug-in file: the probes that refuse
// it, the one reading, the output file path, the conversion and the writing.
// isf2orvy's batch and the gallery both take every shader down this road.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "convert/convert_source.h"
#include "driver/console.h"

namespace driver {

enum class ConvertStatus {
  converted,  // the output file was written
  refused,    // a vertex shader, several passes, audio or imported images; nothing written
  failed,     // the shader could not be read, has no code, its output was not
              // written, or something unexpected happened
  fatal,      // the shader cannot be opened or named: the run must end now
};

// What the host cannot give a refused shader.
enum class Refusal { none, vertex_shader, several_passes, audio_inputs, imported_images };

// One message, for the stream it belongs on. A message built around a path
// also keeps how it was built, so that the console can show the path as the
// stream shows names.
struct Message {
  enum class Stream { out, err };
  Stream stream = Stream::err;
  std::string text;
  console::PathMessage make = nullptr;  // text == make(path), or null
  std::string path;
};

// Receives each message at once, as the stage that decides it runs.
using MessageSink = std::function<void(const Message&)>;

struct ShaderConversion {
  ConvertStatus status = ConvertStatus::failed;
  Refusal refusal = Refusal::none;
  // Without a sink: every message, in the order the stages decided them.
  std::vector<Message> messages;
  std::string base_name;    // the shader's name without its folder and extension
  std::string output_file;  // the output file path, once it is decided
  std::string shader_text;  // with details: the shader file as read
  convert::SourceConversion conversion;  // its header outcome, text and details
};

// Converts the shader at `shader_path`; `output_path` is as on the command
// line (a folder may end in the separator); `shader_kind` gives the output
// extension ("frag" -> ".frag"). The messages are the tool's own, the
// success line and the unexpected-error line on standard output included.
// `with_details` keeps the shader text and asks the conversion for its
// details. Anything unexpected, running out of memory included, fails this
// shader alone, with nothing of it written. `known` spares looks at the
// files that a batch has made already.
struct ReadAhead;
struct ListedFolder;
struct BatchKnowledge {
  // This shader read and converted earlier: taken (without details) when
  // the file is unchanged since.
  ReadAhead* ahead = nullptr;
  // The shader's folder and the output folder as listed at the start: a
  // name that neither held then is not looked up.
  const ListedFolder* shader_folder = nullptr;
  const ListedFolder* output_folder = nullptr;
};
ShaderConversion convert_shader_file(const std::string& shader_path, std::string output_path,
                                     const std::string& shader_kind, const MessageSink& sink,
                                     bool with_details = false,
                                     const BatchKnowledge& known = {});

// The output file path of a batch's shader (`output_folder` is the output
// path, listed) when the listing rules out anything at that name, so that
// the output would be a new file there; empty otherwise.
std::string new_output_file(const std::string& shader_path, const std::string& shader_kind,
                            const ListedFolder& output_folder);

}  // namespace driver
