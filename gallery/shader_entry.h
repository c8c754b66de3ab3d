// What the gallery learns about one shader, stage by stage: the converter's
// outcome and text, the header's facts, the compiler's verdict with every
// message placed in the user's file, and the rendered pictures.
#pragma once

#include <string>
#include <vector>

#include "convert/header_facts.h"
#include "params/macro_format.h"

namespace gallery {

// As the converter decides it. The header-unreadable outcome is converted too.
enum class Outcome {
  converted,
  converted_header_unreadable,
  refused_vertex_shader,
  refused_several_passes,
  refused_audio_inputs,
  refused_imported_images,
  converter_error,
};

bool is_converted(Outcome outcome);

// The header's members that the page shows and the explanations look at, as
// the conversion read them.
using HeaderInput = convert::HeaderInput;
using HeaderFacts = convert::HeaderFacts;

// Where a line of the converted text came from.
enum class LineOrigin {
  shader,            // a line of the user's .fs file
  macro_comments,    // credit, description and parameter macro lines
  defines,           // the #define lines of 2-D points
  uniforms,          // the uniform declarations
  prologue,          // the lines inserted at the start of main
  separator,         // the empty lines between the blocks
  unplaced,          // a line number that a #line directive leaves ambiguous
};

struct SourcePlace {
  LineOrigin origin = LineOrigin::shader;
  int fs_line = 0;  // from 1, for LineOrigin::shader
};

// One line of the compiler's log, placed in the user's file.
struct CompilerMessage {
  int frag_line = 0;       // the converted text's line, 0 when the log gave none;
                           // for LineOrigin::unplaced the number as the log gives it
  SourcePlace place;       // meaningful when frag_line > 0
  std::string severity;    // "error", "warning", or empty
  std::string text;        // the compiler's words after its location and severity
};

// How a worker process ended a shader's compile or render before its end.
enum class Fault {
  none,
  crashed,        // a signal ended the worker (the compiler or driver crashed)
  time_limit,     // the worker was stopped at the time limit
  out_of_memory,  // the worker ran into the memory limit
};

struct WorkerFault {
  Fault kind = Fault::none;
  bool while_rendering = false;  // the shader had compiled
  int signal = 0;                // for Fault::crashed
  int seconds = 0;               // the time limit, for Fault::time_limit
};

struct ShaderEntry {
  std::string source_path;  // as listed: INPUT joined with the file name
  std::string file_name;    // the .fs file's name
  std::string stem;         // its name without ".fs": names the .frag and the pictures
  Outcome outcome = Outcome::converter_error;
  std::string converter_message;  // the converter's own words for a refusal or an error
  HeaderFacts header;
  std::vector<params::ParameterMacro> parameters;

  std::string fs_text;    // the shader file as read
  std::string frag_text;  // the converted text
  std::string frag_path;  // where it was written
  bool frag_written = false;
  std::vector<SourcePlace> frag_lines;  // place of each converted line, from line 1

  bool compiled = false;
  std::vector<CompilerMessage> messages;
  std::vector<std::string> explanations;

  std::string thumbnail;  // file name in the gallery's media folder, or empty
  std::string animation;  // likewise
  bool single_colour = false;  // every frame one and the same colour
  std::string render_error;  // a frame that could not be drawn or written
  WorkerFault fault;         // a crash, the time or the memory limit
};

// How the page and the report name a parameter's kind.
inline const char* kind_name(params::MacroKind kind) {
  switch (kind) {
    case params::MacroKind::int_onoff: return "on/off";
    case params::MacroKind::int_range: return "integer";
    case params::MacroKind::float_range: return "float";
    case params::MacroKind::color: return "colour";
  }
  return "";
}

}  // namespace gallery
