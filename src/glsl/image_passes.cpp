// The image passes in time linear in the body, whatever the number of images.
//
// Read literally, every image runs every row of the table over the whole
// body. But a row changes only calls whose first argument is its image's
// name, and on a regular body (image_calls.h) a rewrite changes nothing
// outside the calls it stands in. So the calls are grouped into clusters
// (calls whose regions overlap or touch), and each cluster is rewritten on
// its own: a lone call in one step, by the row of its macro for the image it
// names; a cluster of nested calls by the rows of just the images that its
// calls name, found again after each image, since a rewrite inside a first
// argument can make it name another image. On a body (or a cluster) that is
// not regular, every image whose name occurs in the text runs every row over
// it: a first argument is a stretch of the text, so an image whose name the
// text does not hold has no call to rewrite. Which names occur is read again
// after every image that changed the text.
#include "glsl/body_text.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "glsl/chars.h"
#include "glsl/image_calls.h"
#include "glsl/image_macros.h"
#include "glsl/line_map.h"
#include "glsl/names_present.h"
#include "glsl/rule_tables.h"

namespace glsl {
namespace {

constexpr std::size_t npos = std::string_view::npos;
// A reading of the text for the names in it costs about what the rows of a
// few images cost.
constexpr std::size_t kMissingWorthReading = 4;

struct Image {
  std::string_view name;
  std::string_view sampler;
  std::string size_uniform;  // "resolution_" + sampler
  bool size_declared = false;
};

MacroRewrite rewrite_for(const ImageRow& row, const Image& image) {
  return {row.macro_name,
          row.function_name,
          row.argument_count,
          image.name,
          row.first_becomes_size ? std::string_view(image.size_uniform) : image.sampler,
          row.second_suffix,
          row.trailing_argument};
}

class Passes {
 public:
  explicit Passes(const std::map<std::string, std::string>& image_table) {
    for (const auto& [name, sampler] : image_table) {
      rank_.emplace(name, images_.size());
      images_.push_back({name, sampler, "resolution_" + sampler});
      longest_ = std::max(longest_, name.size());
    }
    for (const ImageRow& row : kImageRows) macro_names_.push_back(row.macro_name);
    for (const Image& image : images_) names_.push_back(image.name);
  }

  // Every image after `done` (npos: from the first) whose name occurs in
  // the text, in order, through every row; true when something changed.
  bool run_present(BodyText& text, std::size_t done) {
    bool changed = false;
    if (!present_) present_.emplace(names_);
    std::vector<std::uint32_t> present = present_->in(text.text());
    const std::size_t first = done + 1;  // from 0 when `done` is npos
    auto next = std::lower_bound(present.begin(), present.end(), first);
    while (next != present.end()) {
      const std::size_t image = *next;
      if (run_image(text, image)) {
        changed = true;
        // The text is read again unless few images after this one are
        // missing from the list: then they all run, which costs less.
        const std::size_t listed = static_cast<std::size_t>(present.end() - next) - 1;
        const std::size_t missing = images_.size() - 1 - image - listed;
        if (missing >= kMissingWorthReading) {
          present = present_->in(text.text());
        } else {
          present.resize(images_.size() - 1 - image);
          for (std::size_t i = 0; i < present.size(); ++i) {
            present[i] = static_cast<std::uint32_t>(image + 1 + i);
          }
        }
        next = std::upper_bound(present.begin(), present.end(), image);
      } else {
        ++next;
      }
    }
    return changed;
  }

  // The whole body, or a cluster of it, through every row of one image;
  // true when something changed.
  bool run_image(BodyText& text, std::size_t image) {
    bool changed = false;
    for (const ImageRow& row : kImageRows) {
      if (!text.rewrite_image_macro(rewrite_for(row, images_[image]))) continue;
      note_effects(row, image);
      changed = true;
    }
    return changed;
  }

  // The rank of the image that `call` names, or npos.
  std::size_t image_named(std::string_view text, const ImageCall& call) const {
    if (call.first_end - call.first_begin > longest_) return npos;
    const auto found = rank_.find(text.substr(call.first_begin, call.first_end - call.first_begin));
    return found == rank_.end() ? npos : found->second;
  }

  // An image with an empty name, first in the table, reads any first argument.
  bool any_name() const { return images_.front().name.empty(); }

  void note_effects(const ImageRow& row, std::size_t image) {
    if (row.declares_size) images_[image].size_declared = true;
    if (row.needs_render_size) render_size_needed_ = true;
  }

  // Rewrites a cluster of nested calls, image after image, starting with
  // image `next` (npos: none); true when it changed.
  bool run_cluster(BodyText& part, std::size_t next) {
    bool changed = false;
    while (next < images_.size()) {
      changed = run_image(part, next) || changed;
      const std::size_t done = next;
      next = npos;
      const std::string_view text = part.text();
      if (!is_regular(text, macro_names_)) return run_present(part, done) || changed;
      read_image_calls(
          text, macro_names_,
          [&](const ImageCall& call) {
            const std::size_t rank = image_named(text, call);
            if (rank != npos && rank > done && (next == npos || rank < next)) next = rank;
          },
          [](std::size_t, std::size_t, std::size_t) {});
    }
    return changed;
  }

  void declare(std::string& uniforms) const {
    for (const Image& image : images_) {
      if (image.size_declared) uniforms += "uniform vec2 " + image.size_uniform + ";\n";
    }
  }

  bool render_size_needed() const { return render_size_needed_; }
  const std::vector<std::string_view>& macro_names() const { return macro_names_; }
  static const ImageRow& row(std::size_t macro) { return kImageRows[macro]; }
  MacroRewrite rewrite(const ImageRow& row, std::size_t image) const {
    return rewrite_for(row, images_[image]);
  }

 private:
  std::vector<Image> images_;
  std::unordered_map<std::string_view, std::size_t> rank_;
  std::size_t longest_ = 0;
  std::vector<std::string_view> macro_names_;
  std::vector<std::string_view> names_;
  std::optional<NamesPresent> present_;
  bool render_size_needed_ = false;
};

// Writes into `spare` the body with each cluster of calls rewritten on its
// own; false when nothing changed (and `spare` means nothing).
bool rewrite_by_clusters(std::string_view body, std::string& spare, LineTracker* lines,
                         Passes& passes) {
  const std::size_t n = body.size();
  std::optional<TrackedOutput> tracked;
  if (lines != nullptr) tracked.emplace(TrackedOutput{spare, *lines});
  spare.clear();
  bool changed = false;
  std::size_t copied = 0;  // body before it is in `spare`
  const auto replace_up_to = [&](std::size_t begin, std::size_t end, const auto& write) {
    if (!changed) spare.reserve(room_for_rewrite(n));
    changed = true;
    if (tracked) {
      put_copy(*tracked, body, copied, begin);
    } else {
      put_copy(spare, body, copied, begin);
    }
    write();
    copied = end;
  };

  ImageCall last{};               // the cluster's last call to close
  std::size_t first_image = npos;  // the first image that a call of the cluster names
  const auto on_call = [&](const ImageCall& call) {
    last = call;
    const std::size_t rank = passes.any_name() ? 0 : passes.image_named(body, call);
    if (rank < first_image) first_image = rank;
  };
  const auto on_cluster = [&](std::size_t begin, std::size_t end, std::size_t count) {
    const std::size_t image = first_image;
    first_image = npos;
    if (count == 1) {
      // A lone call: the row of its macro, for the image it names, takes it
      // or nothing does (the count is the call's own).
      const ImageRow& row = Passes::row(last.macro);
      if (image == npos || last.argument_count != row.argument_count) return;
      const MacroRewrite rewrite = passes.rewrite(row, image);
      replace_up_to(begin, end, [&] {
        if (tracked) {
          append_replacement(*tracked, body, last.macro_call(), rewrite);
        } else {
          append_replacement(spare, body, last.macro_call(), rewrite);
        }
      });
      passes.note_effects(row, image);
      return;
    }
    if (image == npos) return;
    std::optional<LineTracker> part_lines;
    if (lines != nullptr) part_lines.emplace(lines->slice(begin, end));
    BodyText part(std::string(body.substr(begin, end - begin)), std::move(part_lines));
    if (!passes.run_cluster(part, image)) return;
    replace_up_to(begin, end, [&] {
      if (lines != nullptr) lines->paste(*part.lines(), spare.size());
      spare += part.text();
    });
  };
  read_image_calls(body, passes.macro_names(), on_call, on_cluster);
  if (!changed) return false;
  if (tracked) {
    put_copy(*tracked, body, copied, n);
  } else {
    put_copy(spare, body, copied, n);
  }
  if (lines != nullptr) lines->commit();
  return true;
}


}  // namespace

bool BodyText::run_image_passes(std::string& uniforms,
                                const std::map<std::string, std::string>& image_table) {
  if (image_table.empty()) return false;
  end_at_nul();
  Passes passes(image_table);
  const std::string_view body = text_;
  if (is_regular(body, passes.macro_names())) {
    if (rewrite_by_clusters(body, spare_, tracker(), passes)) text_.swap(spare_);
  } else {
    passes.run_present(*this, npos);
  }
  passes.declare(uniforms);
  return passes.render_size_needed();
}


}  // namespace glsl
