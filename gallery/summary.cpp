// Counting the entries once for every place that shows the counts.
#include "summary.h"

namespace gallery {

Summary summarise(const std::vector<ShaderEntry>& entries) {
  Summary s;
  s.shaders = entries.size();
  for (const ShaderEntry& entry : entries) {
    switch (entry.outcome) {
      case Outcome::converted_header_unreadable: ++s.header_unreadable; [[fallthrough]];
      case Outcome::converted:
        ++s.converted;
        if (entry.fault.kind != Fault::none && !entry.fault.while_rendering)
          ++s.crashed_or_stopped;
        else
          ++(entry.compiled ? s.compile : s.do_not_compile);
        break;
      case Outcome::refused_vertex_shader: ++s.refused_vertex_shader; break;
      case Outcome::refused_several_passes: ++s.refused_several_passes; break;
      case Outcome::refused_audio_inputs: ++s.refused_audio_inputs; break;
      case Outcome::refused_imported_images: ++s.refused_imported_images; break;
      case Outcome::converter_error: ++s.converter_errors; break;
    }
    if (entry.single_colour) ++s.single_colour;
    if (!entry.render_error.empty()) ++s.render_errors;
  }
  return s;
}

std::size_t refused(const Summary& summary) {
  return summary.refused_vertex_shader + summary.refused_several_passes +
         summary.refused_audio_inputs + summary.refused_imported_images;
}

int exit_status(const Summary& summary) {
  return summary.do_not_compile == 0 && summary.crashed_or_stopped == 0 &&
                 summary.converter_errors == 0 && summary.render_errors == 0
             ? 0
             : 1;
}

}  // namespace gallery
