// One JSON object per shader in the order of the shader list, with the same
// words (outcome keys, generated-line names) as the page.
#include "report_json.h"

#include <nlohmann/json.hpp>

#include "gallery_messages.h"
#include "json_text.h"

namespace gallery {
namespace {

nlohmann::json or_null(const std::string& text) {
  return text.empty() ? nlohmann::json() : nlohmann::json(text);
}

nlohmann::json parameter_json(const params::ParameterMacro& macro) {
  nlohmann::json p = {{"name", macro.name}, {"kind", kind_name(macro.kind)},
                      {"identifier", macro.identifier}, {"min", nullptr}, {"max", nullptr},
                      {"default", macro.fields.empty() ? "" : macro.fields.back()}};
  if (macro.fields.size() == 3) {
    p["min"] = macro.fields[0];
    p["max"] = macro.fields[1];
  }
  return p;
}

nlohmann::json message_json(const CompilerMessage& message) {
  nlohmann::json m = {{"severity", or_null(message.severity)}, {"text", message.text},
                      {"frag_line", nullptr}, {"fs_line", nullptr}, {"generated", nullptr}};
  if (message.frag_line > 0) {
    m["frag_line"] = message.frag_line;
    if (message.place.origin == LineOrigin::shader)
      m["fs_line"] = message.place.fs_line;
    else if (message.place.origin != LineOrigin::unplaced)
      m["generated"] = messages::origin_label(message.place.origin);
  }
  return m;
}

nlohmann::json fault_json(const WorkerFault& fault) {
  if (fault.kind == Fault::none) return nullptr;
  return {{"kind", messages::fault_key(fault.kind)},
          {"while_rendering", fault.while_rendering},
          {"signal", fault.kind == Fault::crashed && fault.signal > 0 ? nlohmann::json(fault.signal)
                                                                      : nlohmann::json()},
          {"seconds", fault.kind == Fault::time_limit ? nlohmann::json(fault.seconds) : nlohmann::json()},
          {"text", messages::fault_summary(fault)}};
}

nlohmann::json entry_json(const ShaderEntry& entry) {
  nlohmann::json parameters = nlohmann::json::array();
  for (const auto& macro : entry.parameters) parameters.push_back(parameter_json(macro));
  nlohmann::json compiler = nlohmann::json::array();
  for (const auto& message : entry.messages) compiler.push_back(message_json(message));
  bool converted = is_converted(entry.outcome);
  bool compile_ended = entry.fault.kind != Fault::none && !entry.fault.while_rendering;
  return {
      {"name", entry.file_name},
      {"source", entry.source_path},
      {"outcome", messages::outcome_key(entry.outcome)},
      {"converter_message", or_null(entry.converter_message)},
      {"frag", entry.frag_written ? nlohmann::json(entry.stem + ".frag") : nlohmann::json()},
      {"compiles", converted && !compile_ended ? nlohmann::json(entry.compiled) : nlohmann::json()},
      {"credit", entry.header.credit},
      {"description", entry.header.description},
      {"categories", entry.header.categories},
      {"parameters", parameters},
      {"messages", compiler},
      {"explanations", entry.explanations},
      {"thumbnail", entry.thumbnail.empty() ? nlohmann::json() : nlohmann::json("media/" + entry.thumbnail)},
      {"animation", entry.animation.empty() ? nlohmann::json() : nlohmann::json("media/" + entry.animation)},
      {"single_colour", entry.single_colour},
      {"render_error", or_null(entry.render_error)},
      {"fault", fault_json(entry.fault)},
  };
}

}  // namespace

std::string report_json(const std::string& input_path, const std::vector<ShaderEntry>& entries,
                        const Summary& summary) {
  nlohmann::json shaders = nlohmann::json::array();
  for (const ShaderEntry& entry : entries) shaders.push_back(entry_json(entry));
  nlohmann::json report = {
      {"schema", "isf2orvy-gallery-report"},
      {"schema_version", report_schema_version},
      {"input", input_path},
      {"summary",
       {{"shaders", summary.shaders},
        {"converted", summary.converted},
        {"header_unreadable", summary.header_unreadable},
        {"compile", summary.compile},
        {"do_not_compile", summary.do_not_compile},
        {"crashed_or_stopped", summary.crashed_or_stopped},
        {"refused_vertex_shader", summary.refused_vertex_shader},
        {"refused_several_passes", summary.refused_several_passes},
        {"refused_audio_inputs", summary.refused_audio_inputs},
        {"refused_imported_images", summary.refused_imported_images},
        {"converter_errors", summary.converter_errors},
        {"single_colour", summary.single_colour},
        {"render_errors", summary.render_errors}}},
      {"shaders", shaders},
  };
  return json_text(report) + "\n";
}

}  // namespace gallery
