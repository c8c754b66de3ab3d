// A shader body under rewriting: its text, the spare buffer that every
// rewrite writes into (two buffers for a chain of rewrites instead of one
// per step), and, on request, where each of its lines came from. Every
// rewriting operation of the tool is a member, so the tool and its tests
// run the same code; each is defined in the file named after it.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "glsl/text/line_map.h"

namespace glsl {

struct MacroRewrite;

// Room for a rewritten body: rewrites rarely make a body longer by more
// than an eighth; past that the string grows as strings do.
constexpr std::size_t room_for_rewrite(std::size_t size) { return size + size / 8 + 64; }

class BodyText {
 public:
  // With `track_lines`, line_map() tells where each line came from.
  explicit BodyText(std::string text, bool track_lines = false);
  // A stretch cut out of a tracked body, with the tracker for it.
  BodyText(std::string text, std::optional<LineTracker> lines);

  const std::string& text() const { return text_; }
  std::string take() { return std::move(text_); }
  // One entry per line of the text (see LineTracker::lines_of); empty
  // unless lines are tracked.
  std::vector<std::size_t> line_map() const;
  const LineTracker* lines() const { return lines_ ? &*lines_ : nullptr; }

  // One rewrite of the text: write(out) writes the new text into `out`
  // through put_copy, put_made_for and put_made_new (line_map.h), and
  // returns true when it changed something. Then the new text takes the
  // place of the old, and the line map follows it; otherwise both stay as
  // they were. `out` is the spare buffer, or a TrackedOutput over it when
  // lines are tracked, so `write` is a generic lambda: [&](auto& out) {...}.
  template <class Write>
  bool rewrite(Write&& write);

  // The rewrites below read the text up to its first NUL and drop the rest.

  // Replaces every whole-identifier occurrence of `old_name` by `new_name`
  // (text/whole_word.cpp); true when something was replaced.
  bool replace_whole_word(std::string_view old_name, std::string_view new_name);

  // Rewrites every qualifying call of one macro (calls/rewrite_image_macro.cpp);
  // true when a call was rewritten.
  bool rewrite_image_macro(const MacroRewrite& rewrite);

  // The image passes for every image of `image_table` (name -> sampler)
  // (calls/run_image_passes.cpp): appends the size declarations that IMG_SIZE needs to
  // `uniforms`; true when an IMG_PIXEL call was rewritten.
  bool run_image_passes(std::string& uniforms, const std::map<std::string, std::string>& image_table);

  // The built-in table (rules/replace_builtins.cpp): replaces the ISF built-ins and
  // appends the declarations of the uniforms that stand for them, the
  // render size's also when `render_size_needed`.
  void replace_builtins(std::string& uniforms, bool render_size_needed);

  // Each event of `events` that the body tests as a condition and does not
  // declare becomes "(NAME != 0)" wherever it is a whole word
  // (event_conditions.cpp).
  void test_events(const std::vector<std::string>& events);

  // Each image name of `image_table` becomes its sampler, in the table's
  // order (renaming/rename_images.cpp).
  void rename_images(const std::map<std::string, std::string>& image_table);

  // `prologue` and "\n" inserted at main_body_start (rules/insert_into_main.h);
  // the text stays as it is when there is none.
  // This one reads up to the first NUL but keeps the rest.
  void insert_into_main(std::string_view prologue);

 private:
  void end_at_nul();

  std::string text_;
  std::string spare_;
  std::optional<LineTracker> lines_;
};

template <class Write>
bool BodyText::rewrite(Write&& write) {
  spare_.clear();
  bool changed = false;
  if (lines_) {
    TrackedOutput out{spare_, *lines_};
    changed = write(out);
    if (changed) {
      lines_->commit();
    } else {
      lines_->discard();
    }
  } else {
    changed = write(spare_);
  }
  if (changed) text_.swap(spare_);
  return changed;
}

}  // namespace glsl
