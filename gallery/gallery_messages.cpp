// The wording of the gallery. Paths and names are inserted as they are.
#include "gallery_messages.h"

namespace gallery::messages {

std::string usage() {
  return "Usage: isf2orvy-gallery INPUT GALLERY_DIR [options]\n"
         "Converts every ISF shader of INPUT (a folder of .fs files, or one .fs file),\n"
         "compiles and renders the results as the host would, and writes\n"
         "GALLERY_DIR/index.html, GALLERY_DIR/report.json and the .frag files.\n"
         "  --size WxH        thumbnail and animation size in pixels (default 256x256)\n"
         "  --frames N        animation frames for shaders that use time (default 24, 0: none)\n"
         "  --fps N           animation frames per second (default 12)\n"
         "  --image PATH.png  the next image input: the first --image feeds tex0, the\n"
         "                    second tex1, ...; the others get a test pattern\n"
         "  --jobs N          worker processes that compile and render (default: one\n"
         "                    per core)\n"
         "  --time-limit S    seconds a shader may take to compile and render (default 20)\n"
         "  --memory-limit M  MiB of memory per worker process (default 2048, 0: none)\n"
         "  -h, --help        this text\n"
         "A shader that crashes the compiler or passes a limit ends its worker only.\n"
         "Exit status: 0 when every converted shader compiles and renders, 1 when one\n"
         "does not or something could not be read or written, 2 for a bad command line.\n";
}

std::string option_needs_value(const std::string& option) {
  return "option " + option + " needs a value";
}

std::string unknown_option(const std::string& option) { return "unknown option " + option; }

std::string invalid_option_value(const std::string& option, const std::string& value) {
  return "invalid value for " + option + ": " + value;
}

std::string expected_two_paths() { return "expected INPUT and GALLERY_DIR"; }

std::string input_invalid(const std::string& input_path) {
  return input_path + " is neither a folder nor a file with the .fs extension";
}

std::string bad_command_line(const std::string& reason) {
  return "isf2orvy-gallery: " + reason + "\n" + usage();
}

std::string cannot_create_gallery(const std::string& gallery_path) {
  return "isf2orvy-gallery: cannot create the gallery folder " + gallery_path + "\n";
}

std::string cannot_write(const std::string& path, const std::string& reason) {
  return "isf2orvy-gallery: cannot write " + path + ": " + reason + "\n";
}

std::string cannot_render(const std::string& reason) {
  return "isf2orvy-gallery: cannot render: " + reason + "\n";
}

std::string no_worker() { return "no worker process could start"; }

std::string no_process(const std::string& reason) {
  return "cannot start a worker process: " + reason;
}

std::string answer_cut_short() { return "the worker's answer was cut short"; }

std::string progress_line(std::size_t done, std::size_t total, const std::string& shader_path,
                          const std::string& verdict) {
  return "[" + std::to_string(done) + "/" + std::to_string(total) + "] " + shader_path + ": " +
         verdict + "\n";
}

std::string progress_bar(std::size_t done, std::size_t total, std::size_t width) {
  std::size_t filled = total == 0 ? width : done * width / total;
  return "\r[" + std::string(filled, '#') + std::string(width - filled, '.') + "] " +
         std::to_string(done) + "/" + std::to_string(total);
}

std::string summary_line(const Summary& s) {
  std::string line = std::to_string(s.shaders) + " shaders: " + std::to_string(s.converted) +
                     " converted (" + std::to_string(s.compile) + " compile, " +
                     std::to_string(s.converted - s.compile - s.crashed_or_stopped) + " do not";
  if (s.crashed_or_stopped > 0)
    line += ", " + std::to_string(s.crashed_or_stopped) + " crashed or stopped";
  line += "), " + std::to_string(refused(s)) + " refused (" +
          std::to_string(s.refused_vertex_shader) + " vertex shader, " +
          std::to_string(s.refused_several_passes) + " several passes, " +
          std::to_string(s.refused_audio_inputs) + " audio inputs, " +
          std::to_string(s.refused_imported_images) + " imported images)";
  if (s.converter_errors > 0) line += ", " + std::to_string(s.converter_errors) + " converter errors";
  if (s.render_errors > 0) line += ", " + std::to_string(s.render_errors) + " not rendered";
  return line + "\n";
}

std::string verdict(const ShaderEntry& entry) {
  if (!is_converted(entry.outcome)) return outcome_label(entry.outcome);
  if (entry.fault.kind != Fault::none && !entry.fault.while_rendering)
    return fault_summary(entry.fault);
  if (!entry.compiled) return "does not compile";
  if (!entry.render_error.empty()) return "compiles; not rendered: " + entry.render_error;
  return "compiles";
}

std::string fault_summary(const WorkerFault& fault) {
  const bool rendering = fault.while_rendering;
  switch (fault.kind) {
    case Fault::none: break;
    case Fault::crashed: {
      std::string who = rendering ? "the renderer crashed" : "the compiler crashed";
      return fault.signal > 0 ? who + " (signal " + std::to_string(fault.signal) + ")" : who;
    }
    case Fault::time_limit:
      return (rendering ? "rendering stopped after " : "stopped after ") +
             std::to_string(fault.seconds) + " s";
    case Fault::out_of_memory:
      return rendering ? "ran out of memory while rendering" : "ran out of memory";
  }
  return {};
}

std::string fault_explanation(const WorkerFault& fault) {
  switch (fault.kind) {
    case Fault::none: break;
    case Fault::crashed:
      return "Mesa's OpenGL driver crashed on this shader, and the host, which uses the same "
             "driver, would crash too; a very long expression or deep nesting can exhaust the "
             "compiler's stack";
    case Fault::time_limit:
      return "compiling and rendering took longer than the time limit (--time-limit); the "
             "compiler copies every function call in place, so functions that call each other "
             "many times over make its work grow exponentially";
    case Fault::out_of_memory:
      return "compiling and rendering needed more memory than the limit (--memory-limit); a "
             "very large array makes the compiler use memory for every element";
  }
  return {};
}

std::string fault_key(Fault kind) {
  switch (kind) {
    case Fault::none: return "none";
    case Fault::crashed: return "crashed";
    case Fault::time_limit: return "time_limit";
    case Fault::out_of_memory: return "out_of_memory";
  }
  return {};
}

std::string outcome_key(Outcome outcome) {
  switch (outcome) {
    case Outcome::converted: return "converted";
    case Outcome::converted_header_unreadable: return "converted_header_unreadable";
    case Outcome::refused_vertex_shader: return "refused_vertex_shader";
    case Outcome::refused_several_passes: return "refused_several_passes";
    case Outcome::refused_audio_inputs: return "refused_audio_inputs";
    case Outcome::refused_imported_images: return "refused_imported_images";
    case Outcome::converter_error: return "converter_error";
  }
  return {};
}

std::string outcome_label(Outcome outcome) {
  switch (outcome) {
    case Outcome::converted: return "converted";
    case Outcome::converted_header_unreadable: return "converted, header unreadable";
    case Outcome::refused_vertex_shader: return "refused: vertex shader";
    case Outcome::refused_several_passes: return "refused: several passes";
    case Outcome::refused_audio_inputs: return "refused: audio inputs";
    case Outcome::refused_imported_images: return "refused: imported images";
    case Outcome::converter_error: return "converter error";
  }
  return {};
}

std::string origin_label(LineOrigin origin) {
  switch (origin) {
    case LineOrigin::shader: return "shader line";
    case LineOrigin::macro_comments: return "generated macro comments";
    case LineOrigin::defines: return "generated defines";
    case LineOrigin::uniforms: return "generated uniform declarations";
    case LineOrigin::prologue: return "generated prologue of main";
    case LineOrigin::separator: return "generated empty line";
    case LineOrigin::unplaced: return "line numbered by a #line directive";
  }
  return {};
}

std::string placed_message(const std::string& shader_path, const std::string& frag_name,
                           const CompilerMessage& message) {
  std::string place = shader_path;
  if (message.frag_line > 0) {
    if (message.place.origin == LineOrigin::shader)
      place += ":" + std::to_string(message.place.fs_line);
    else
      place += ": " + origin_label(message.place.origin) + " (" + frag_name + ":" +
               std::to_string(message.frag_line) + ")";
  }
  std::string text = place + ": ";
  if (!message.severity.empty()) text += message.severity + ": ";
  return text + message.text;
}

std::string single_colour() { return "renders a single colour at the default parameters"; }

std::string unsupported_input_type(const std::string& name, const std::string& type) {
  return "input " + name + " has type " + type + ", which the host does not provide";
}

std::string undeclared_name(const std::string& name) {
  return name + " is declared nowhere: it is no input of the header and no variable or function "
         "of the shader";
}

std::string host_uniform_name(const std::string& name) {
  return "input " + name + " has the name of a uniform that the host supplies, so it is "
         "declared twice";
}

std::string newer_glsl_int_to_float() {
  return "GLSL newer than 1.10: an int where a float is needed (write 1.0, not 1); "
         "the host compiles GLSL 1.10, which has no implicit conversion";
}

std::string newer_glsl_mixed_comparison() {
  return "GLSL newer than 1.10: an int compared with a float (write 1.0, not 1, or float(n)); "
         "GLSL 1.10 compares only values of the same type";
}

std::string condition_not_bool() {
  return "an int or a float used as a condition: GLSL takes only a bool in if, while, ?: and ! "
         "(write n != 0)";
}

std::string newer_glsl_precision() {
  return "GLSL newer than 1.10: precision qualifiers (precision, highp, mediump, lowp)";
}

std::string newer_glsl_unsigned() {
  return "GLSL newer than 1.10: unsigned integers (uint, uvec2, uvec3, uvec4)";
}

std::string newer_glsl_array_constructor() {
  return "GLSL newer than 1.10: array constructors";
}

}  // namespace gallery::messages
