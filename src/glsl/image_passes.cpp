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
// argument can make it name another image. On a body that is not regular,
// every image runs every row over the whole body.
#include "glsl/image_passes.h"

#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "glsl/chars.h"
#include "glsl/image_calls.h"
#include "glsl/image_macros.h"
#include "glsl/line_map.h"

namespace glsl {
namespace {

// One row per macro, in the order the rows run for each image. Both
// current-pixel reads become the same read: the host's texture coordinate
// is already normalised. IMG_PIXEL's pixel coordinate is divided by the
// render size, not by the image's own size.
struct ImageRow {
  std::string_view macro_name;
  std::string_view function_name;
  std::size_t argument_count;
  bool first_becomes_size;  // the image's size uniform; otherwise its sampler
  std::string_view second_suffix;
  std::string_view trailing_argument;
  bool declares_size;       // a rewrite declares the image's size uniform
  bool needs_render_size;   // a rewrite needs the render-size uniform
};

constexpr std::string_view kThisPixel = "gl_TexCoord[0].xy";

constexpr ImageRow kRows[] = {
    {"IMG_SIZE", "", 1, true, "", "", true, false},
    {"IMG_THIS_PIXEL", "texture2D", 1, false, "", kThisPixel, false, false},
    {"IMG_THIS_NORM_PIXEL", "texture2D", 1, false, "", kThisPixel, false, false},
    {"IMG_NORM_PIXEL", "texture2D", 2, false, "", "", false, false},
    {"IMG_PIXEL", "texture2D", 2, false, "/resolution", "", false, true},
};

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
    for (const ImageRow& row : kRows) macro_names_.push_back(row.macro_name);
  }

  // The whole body, or a cluster of it, through every row of one image;
  // true when something changed.
  bool run_image(std::string& text, std::size_t image, std::string& spare, LineTracker* lines) {
    bool changed = false;
    for (const ImageRow& row : kRows) {
      if (!rewrite_image_macro_in(text, rewrite_for(row, images_[image]), spare, lines)) continue;
      note_effects(row, images_[image]);
      changed = true;
    }
    return changed;
  }

  // The rank of the image that `call` names, or npos.
  std::size_t image_named(std::string_view text, const MacroCall& call) const {
    if (call.first_end - call.first_begin > longest_) return npos;
    const auto found = rank_.find(text.substr(call.first_begin, call.first_end - call.first_begin));
    return found == rank_.end() ? npos : found->second;
  }

  // An image with an empty name, first in the table, reads any first argument.
  bool any_name() const { return images_.front().name.empty(); }

  void note_effects(const ImageRow& row, Image& image) {
    if (row.declares_size) image.size_declared = true;
    if (row.needs_render_size) render_size_needed_ = true;
  }

  // Rewrites a cluster of nested calls, image after image; true when it changed.
  bool run_cluster(std::string& text, std::string& spare, LineTracker* lines) {
    bool changed = false;
    std::vector<ImageCall> calls;
    std::size_t done = npos;  // rank of the last image run
    for (;;) {
      std::size_t next = npos;
      if (done == npos && any_name()) {
        next = 0;
      } else if (find_image_calls(text, macro_names_, calls)) {
        for (const ImageCall& call : calls) {
          const std::size_t rank = image_named(text, call.call);
          if (rank != npos && (done == npos || rank > done) && (next == npos || rank < next)) next = rank;
        }
      } else {
        next = done == npos ? 0 : done + 1;
      }
      if (next >= images_.size()) return changed;
      changed = run_image(text, next, spare, lines) || changed;
      done = next;
    }
  }

  void run(std::string& body, std::string& spare, LineTracker* lines);

  void declare(std::string& uniforms) const {
    for (const Image& image : images_) {
      if (image.size_declared) uniforms += "uniform vec2 " + image.size_uniform + ";\n";
    }
  }

  bool render_size_needed() const { return render_size_needed_; }

 private:
  static constexpr std::size_t npos = std::string_view::npos;

  std::vector<Image> images_;
  std::unordered_map<std::string_view, std::size_t> rank_;
  std::size_t longest_ = 0;
  std::vector<std::string_view> macro_names_;
  bool render_size_needed_ = false;
};

void Passes::run(std::string& body, std::string& spare, LineTracker* lines) {
  std::vector<ImageCall> calls;
  if (!find_image_calls(body, macro_names_, calls)) {
    for (std::size_t image = 0; image < images_.size(); ++image) run_image(body, image, spare, lines);
    return;
  }
  const std::size_t n = body.size();
  std::optional<TrackedOutput> tracked;
  if (lines != nullptr) tracked.emplace(TrackedOutput{spare, *lines});
  spare.clear();
  std::size_t copied = 0;  // body before it is in `spare`
  const auto copy_up_to = [&](std::size_t end) {
    if (tracked) {
      put_copy(*tracked, body, copied, end);
    } else {
      put_copy(spare, body, copied, end);
    }
  };
  bool changed = false;
  std::string part, part_spare;
  for (std::size_t i = 0; i < calls.size();) {
    // A cluster: calls whose regions overlap or touch, up to past its last ")".
    const std::size_t begin = calls[i].call.name_at;
    std::size_t end = calls[i].call.close < n ? calls[i].call.close + 1 : n;
    std::size_t j = i + 1;
    for (; j < calls.size() && calls[j].call.name_at <= end; ++j) {
      end = std::max(end, calls[j].call.close < n ? calls[j].call.close + 1 : n);
    }
    if (j == i + 1) {
      const ImageRow& row = kRows[calls[i].macro];
      const MacroCall& call = calls[i].call;
      // The count is the call's own: no image's row takes it if this one does not.
      std::size_t rank = npos;
      if (call.argument_count == row.argument_count) rank = any_name() ? 0 : image_named(body, call);
      if (rank != npos) {
        if (!changed) spare.reserve(n + (n >> 3) + 64);
        changed = true;
        copy_up_to(begin);
        const MacroRewrite rewrite = rewrite_for(row, images_[rank]);
        if (tracked) {
          append_replacement(*tracked, body, call, rewrite);
        } else {
          append_replacement(spare, body, call, rewrite);
        }
        note_effects(row, images_[rank]);
        copied = end;
      }
    } else {
      part.assign(body, begin, end - begin);
      std::optional<LineTracker> part_lines;
      if (lines != nullptr) part_lines.emplace(lines->slice(begin, end));
      if (run_cluster(part, part_spare, part_lines ? &*part_lines : nullptr)) {
        if (!changed) spare.reserve(n + (n >> 3) + 64);
        changed = true;
        copy_up_to(begin);
        if (lines != nullptr) lines->paste(*part_lines, spare.size());
        spare += part;
        copied = end;
      }
    }
    i = j;
  }
  if (!changed) return;
  copy_up_to(n);
  if (lines != nullptr) lines->commit();
  body.swap(spare);
}

}  // namespace

bool run_image_passes(std::string& body, std::string& uniforms,
                      const std::map<std::string, std::string>& image_table, std::string& spare,
                      LineTracker* lines) {
  if (image_table.empty()) return false;
  body.resize(up_to_nul(body).size());
  Passes passes(image_table);
  passes.run(body, spare, lines);
  passes.declare(uniforms);
  return passes.render_size_needed();
}

}  // namespace glsl
