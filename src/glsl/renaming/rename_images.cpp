// Renames the image inputs to their samplers: read literally, each image's
// name is replaced by its sampler as a whole word over the whole body, one
// image after another in the table's order. A name that cannot start an
// identifier never matches and a name replaced by itself changes nothing;
// an image whose sampler is not an identifier is renamed on its own. The
// others are renamed together as tokens (token_renaming.cpp), in time
// near-linear in the body plus the names.
#include "glsl/text/body_text.h"

#include <string_view>
#include <vector>

#include "glsl/renaming/token_renaming.h"
#include "glsl/text/chars.h"

namespace glsl {
namespace {

bool is_identifier(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!is_identifier_char(c)) return false;
  }
  return true;
}

}  // namespace

void BodyText::rename_images(const std::map<std::string, std::string>& image_table) {
  end_at_nul();
  std::vector<const ImageEntry*> run;  // images renamed together
  const auto flush = [&] {
    if (run.size() > 1 && text_.size() <= kLongestTokenText) {
      rename_as_tokens(*this, run);
    } else {
      for (const ImageEntry* entry : run) replace_whole_word(entry->first, entry->second);
    }
    run.clear();
  };
  for (const ImageEntry& entry : image_table) {
    const std::string& name = entry.first;
    if (name.empty() || !is_name_start_char(name[0]) || name == entry.second) continue;
    if (is_identifier(entry.second)) {
      run.push_back(&entry);
    } else {
      flush();
      replace_whole_word(name, entry.second);
    }
  }
  flush();
}

}  // namespace glsl
