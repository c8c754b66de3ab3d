// The body text's own parts; each rewrite is defined in the file of its rule.
#include "glsl/text/body_text.h"

#include "glsl/text/chars.h"

namespace glsl {

BodyText::BodyText(std::string text, bool track_lines) : text_(std::move(text)) {
  if (track_lines) lines_.emplace(text_);
}

BodyText::BodyText(std::string text, std::optional<LineTracker> lines)
    : text_(std::move(text)), lines_(std::move(lines)) {}

std::vector<std::size_t> BodyText::line_map() const {
  return lines_ ? lines_->lines_of(text_) : std::vector<std::size_t>();
}

void BodyText::end_at_nul() { text_.resize(up_to_nul(text_).size()); }

}  // namespace glsl
