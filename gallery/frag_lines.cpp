// The converted text is the comment block, an empty line, the define block,
// an empty line, the uniform block and the rewritten body. The blocks before
// the body are counted from the top and the body from the bottom, so the
// uniform block is what lies between, however many declarations the
// rewriting added to it.
#include "frag_lines.h"

#include <algorithm>

#include "glsl/text/line_map.h"

namespace gallery {

std::vector<SourcePlace> place_lines(const std::string& frag_text, const FragLayout& layout) {
  std::size_t total = static_cast<std::size_t>(std::count(frag_text.begin(), frag_text.end(), '\n'));
  if (!frag_text.empty() && frag_text.back() != '\n') ++total;
  // The map's last entry may stand for the empty piece after the final line
  // feed, which is no line of the text.
  std::size_t mapped = layout.body_sources.size();
  if (mapped > 0 && (frag_text.empty() || frag_text.back() == '\n')) --mapped;
  std::size_t body_lines = std::min(mapped, total);
  std::size_t body_start = total - body_lines;  // lines before the body

  std::vector<SourcePlace> places(total);
  std::size_t line = 0;
  auto fill = [&](std::size_t count, LineOrigin origin) {
    for (std::size_t i = 0; i < count && line < body_start; ++i) places[line++].origin = origin;
  };
  fill(layout.comment_lines, LineOrigin::macro_comments);
  fill(1, LineOrigin::separator);
  fill(layout.define_lines, LineOrigin::defines);
  fill(1, LineOrigin::separator);
  fill(body_start, LineOrigin::uniforms);
  for (std::size_t i = 0; i < body_lines; ++i) {
    std::size_t source = layout.body_sources[mapped - body_lines + i];
    SourcePlace& place = places[body_start + i];
    if (source == glsl::kGeneratedLine) {
      place.origin = LineOrigin::prologue;
    } else {
      place.origin = LineOrigin::shader;
      place.fs_line = static_cast<int>(layout.body_first_line + source);
    }
  }
  return places;
}

std::vector<SourcePlace> place_frag_lines(const convert::SourceConversion& conversion) {
  FragLayout layout;
  layout.comment_lines = conversion.comment_lines;
  layout.define_lines = conversion.define_lines;
  layout.body_first_line = conversion.body_first_line;
  layout.body_sources = conversion.body_line_map;
  return place_lines(conversion.text, layout);
}

}  // namespace gallery
