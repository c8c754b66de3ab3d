// Renames the image inputs to their samplers in time linear in the body.
//
// Read literally, each image's name is replaced by its sampler over the
// whole body, one image after another in the table's order, so a sampler
// that is a later image's name is renamed again. When names and samplers are
// identifiers, each replacement swaps one whole identifier for another, so
// every identifier of the body can be followed through the chain of
// renamings on its own, in one reading. A name holding other characters
// (a space, a dot) can span several identifiers: it gets a reading of its
// own, at its place in the order.
#include "glsl/body_text.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "glsl/chars.h"
#include "glsl/line_map.h"

namespace glsl {
namespace {

bool is_identifier(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!is_identifier_char(c)) return false;
  }
  return true;
}

using Entry = std::pair<const std::string, std::string>;

// Renames a run of identifier names (in table order) in one reading; true
// when something changed.
bool rename_identifiers(std::string& body, const std::vector<const Entry*>& run,
                        std::string& spare, LineTracker* lines) {
  std::unordered_map<std::string_view, std::size_t> index;
  bool starts[256] = {};
  std::size_t longest = 0;
  for (std::size_t i = 0; i < run.size(); ++i) {
    index.emplace(run[i]->first, i);
    starts[static_cast<unsigned char>(run[i]->first[0])] = true;
    longest = std::max(longest, run[i]->first.size());
  }
  // Where each name ends up: its sampler, renamed again by a later name.
  std::vector<std::string_view> final_name(run.size());
  for (std::size_t i = run.size(); i-- > 0;) {
    final_name[i] = run[i]->second;
    const auto later = index.find(run[i]->second);
    if (later != index.end() && later->second > i) final_name[i] = final_name[later->second];
  }

  const std::string_view text = body;
  const std::size_t n = text.size();
  bool changed = false;
  std::size_t copied = 0;
  const auto write = [&](auto& out) {
    for (std::size_t at = 0; at < n;) {
      if (!is_identifier_char(text[at])) {
        ++at;
        continue;
      }
      std::size_t end = at + 1;
      while (end < n && is_identifier_char(text[end])) ++end;
      if (starts[static_cast<unsigned char>(text[at])] && end - at <= longest) {
        const auto found = index.find(text.substr(at, end - at));
        if (found != index.end()) {
          if (!changed) spare.reserve(room_for_rewrite(n));
          changed = true;
          put_copy(out, text, copied, at);
          put_made_for(out, final_name[found->second], at);
          copied = end;
        }
      }
      at = end;
    }
    if (changed) put_copy(out, text, copied, n);
  };
  spare.clear();
  if (lines == nullptr) {
    write(spare);
  } else {
    TrackedOutput out{spare, *lines};
    write(out);
    if (changed) lines->commit();
  }
  if (changed) body.swap(spare);
  return changed;
}

}  // namespace

void BodyText::rename_images(const std::map<std::string, std::string>& image_table) {
  end_at_nul();
  std::vector<const Entry*> run;
  const auto flush = [&] {
    if (!run.empty()) rename_identifiers(text_, run, spare_, tracker());
    run.clear();
  };
  for (const Entry& entry : image_table) {
    const std::string& name = entry.first;
    // A name that cannot start an identifier is never replaced.
    if (name.empty() || !is_name_start_char(name[0])) continue;
    if (is_identifier(name) && is_identifier(entry.second)) {
      run.push_back(&entry);
      continue;
    }
    flush();
    replace_whole_word(name, entry.second);
  }
  flush();
}

}  // namespace glsl
