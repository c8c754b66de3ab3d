// The image passes in time linear in the body, whatever the number of images.
//
// Read literally, every image runs every row of the table over the whole
// body. But a row changes only calls whose first argument is its image's
// name, and on a regular body (image_calls.h) a rewrite changes nothing
// outside the calls it stands in. So the calls are grouped into clusters
// (calls whose regions overlap or touch), and each cluster is rewritten on
// its own: a lone call in one step, by the row of its macro for the image it
// names; nested or touching calls as a tree (call_tree.h). This needs
// samplers that are identifiers, as the tool's are: made text with a
// parenthesis or a comma in it would change the calls around it.
//
// An image with an empty name takes every call whatever its first argument:
// being first in the table, it runs its rows over the whole body before the
// others. On a body that is not regular, on clusters when an image's name
// holds a macro name, and on the last cluster when the tree cannot follow its
// unclosed calls, every image whose name occurs in the text runs every row
// over it: a first argument is a stretch of the text, so an image whose name
// the text does not hold has no call to rewrite. Which names occur is read
// again after every image that changed the text.
//
// Example, images "a" (tex0) and "b" (tex1), body
// "IMG_SIZE(a) + IMG_PIXEL(b, IMG_NORM_PIXEL(a, uv))": the first call is a
// cluster of its own, rewritten by the IMG_SIZE row for "a"; the other two
// nest and form one cluster, which the tree rewrites. The body becomes
// "resolution_tex0 + texture2D(tex1, (texture2D(tex0, uv))/resolution)",
// as running the rows of "a" and then of "b" over the whole body gives.
#include "glsl/text/body_text.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <type_traits>
#include <vector>

#include "glsl/calls/call_tree.h"
#include "glsl/calls/image_calls.h"
#include "glsl/calls/image_set.h"
#include "glsl/calls/macro_rewrite.h"
#include "glsl/rules/rule_tables.h"
#include "glsl/text/index.h"
#include "glsl/text/line_map.h"
#include "glsl/text/names_present.h"

namespace glsl {
namespace {

constexpr std::size_t npos = std::string_view::npos;
// A reading of the text for the names in it costs about what the rows of a
// few images cost.
constexpr std::size_t kMissingWorthReading = 4;
// The tree numbers its passes in 32 bits.
constexpr std::size_t kTreeImages = (kNone - 1) / kImageRows.size();

const std::vector<std::string_view>& macro_names() {
  static const std::vector<std::string_view> names = [] {
    std::vector<std::string_view> list;
    for (const ImageRow& row : kImageRows) list.push_back(row.macro_name);
    return list;
  }();
  return names;
}

// The whole body, or a cluster of it, through every row of one image;
// true when something changed.
bool run_image(BodyText& text, ImageSet& images, std::size_t image) {
  bool changed = false;
  for (const ImageRow& row : kImageRows) {
    if (!text.rewrite_image_macro(images.rewrite(row, image))) continue;
    images.note_effects(row, image);
    changed = true;
  }
  return changed;
}

// Every image whose name occurs in the text, in order, through every row;
// true when something changed.
bool run_present(BodyText& text, ImageSet& images) {
  const NamesPresent& present_in = images.names_present();
  bool changed = false;
  std::vector<std::uint32_t> present = present_in.in(text.text());
  auto next = std::lower_bound(present.begin(), present.end(), images.first());
  while (next != present.end()) {
    const std::size_t image = *next;
    if (run_image(text, images, image)) {
      changed = true;
      // The text is read again unless few images after this one are
      // missing from the list: then they all run, which costs less.
      const std::size_t listed = static_cast<std::size_t>(present.end() - next) - 1;
      const std::size_t missing = images.size() - 1 - image - listed;
      if (missing >= kMissingWorthReading) {
        present = present_in.in(text.text());
      } else {
        present.resize(images.size() - 1 - image);
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

// Writes the body with each cluster of calls rewritten on its own.
// read_image_calls hands over every call as its ")" is read, then the
// cluster it closed; what no cluster changed is copied as it stands.
template <class Out>
class ClusterWriter {
 public:
  ClusterWriter(Out& out, std::string_view body, ImageSet& images,
                const std::vector<std::string_view>& macros)
      : out_(out), body_(body), images_(images), macros_(macros) {}

  // False when nothing changed (and `out` means nothing).
  bool write() {
    read_image_calls(
        body_, macros_, [&](const ImageCall& call) { note_call(call); },
        [&](std::size_t begin, std::size_t end, std::size_t count) { rewrite_cluster(begin, end, count); });
    if (!changed_) return false;
    put_copy(out_, body_, copied_, body_.size());
    return true;
  }

 private:
  std::size_t image_named_by(const ImageCall& call) const {
    return images_.rank_of(body_.substr(call.first_begin, call.first_end - call.first_begin));
  }

  void note_call(const ImageCall& call) {
    last_ = call;
    if (!names_image_ && call.argument_count == kImageRows[call.macro].argument_count) {
      names_image_ = image_named_by(call) != npos;
    }
  }

  void rewrite_cluster(std::size_t begin, std::size_t end, std::size_t count) {
    const bool named = names_image_;
    names_image_ = false;
    if (count == 1) {
      rewrite_lone_call(begin, end);
      return;
    }
    if (images_.plain_names() && images_.size() < kTreeImages) {
      // With plain names, the first rewrite of a cluster is of a call that
      // names an image as written, so a cluster without one stays.
      if (!named || rewrite_as_tree(begin, end)) return;
    }
    rewrite_by_every_image(begin, end);
  }

  // A lone call: the row of its macro, for the image it names, takes it or
  // nothing does (the count is the call's own).
  void rewrite_lone_call(std::size_t begin, std::size_t end) {
    const ImageCall call = last_;
    const ImageRow& row = kImageRows[call.macro];
    const std::size_t image = image_named_by(call);
    if (image == npos || call.argument_count != row.argument_count) return;
    const MacroRewrite rewrite = images_.rewrite(row, image);
    replace(begin, end, [&](Out& out) { append_replacement(out, body_, call.macro_call(), rewrite); });
    images_.note_effects(row, image);
  }

  // Nested or touching calls as a tree (call_tree.h); false when the tree
  // cannot follow them.
  bool rewrite_as_tree(std::size_t begin, std::size_t end) {
    CallTree tree(body_, begin, end, macros_, images_);
    const CallTree::Outcome outcome = tree.evaluate();
    if (outcome == CallTree::Outcome::not_followed) return false;
    if (outcome == CallTree::Outcome::changed) {
      replace(begin, end, [&](Out& out) { tree.write(out, begin, end); });
    }
    return true;
  }

  // The cluster as a text of its own, through every image whose name it holds.
  void rewrite_by_every_image(std::size_t begin, std::size_t end) {
    BodyText part(std::string(body_.substr(begin, end - begin)), lines_of_part(out_, begin, end));
    if (!run_present(part, images_)) return;
    replace(begin, end, [&](Out& out) { put_part(out, part.text(), part.lines()); });
  }

  // The body up to `begin` as it stands, then what `write` makes of
  // [begin, end).
  template <class Write>
  void replace(std::size_t begin, std::size_t end, const Write& write) {
    if (!changed_) out_.reserve(room_for_rewrite(body_.size()));
    changed_ = true;
    put_copy(out_, body_, copied_, begin);
    write(out_);
    copied_ = end;
  }

  Out& out_;
  std::string_view body_;
  ImageSet& images_;
  const std::vector<std::string_view>& macros_;
  bool changed_ = false;
  std::size_t copied_ = 0;  // body before it is in `out_`
  ImageCall last_{};        // the cluster's last call to close
  // Whether a call of the cluster names an image as written: with plain
  // names, only then is the cluster read again into a tree (so at most
  // twice).
  bool names_image_ = false;
};

}  // namespace

bool BodyText::run_image_passes(std::string& uniforms,
                                const std::map<std::string, std::string>& image_table) {
  if (image_table.empty()) return false;
  end_at_nul();
  ImageSet images(image_table);
  // An empty name takes every call: its rows run over the whole body first,
  // then the named images.
  if (images.any_name()) {
    run_image(*this, images, 0);
    images.start_at(1);
  }
  const std::vector<std::string_view>& macros = macro_names();
  const std::string_view body = text_;
  if (images.plain_samplers() && is_regular(body, macros)) {
    rewrite([&](auto& out) {
      return ClusterWriter<std::decay_t<decltype(out)>>(out, body, images, macros).write();
    });
  } else {
    run_present(*this, images);
  }
  images.declare(uniforms);
  return images.render_size_needed();
}

}  // namespace glsl
