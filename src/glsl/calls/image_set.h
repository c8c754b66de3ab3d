// The image table as the image passes read it: each image by rank (the
// table's order) with its name, sampler and size uniform, the lookup of the
// image a first argument names, and the effects the rewrites had so far.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "glsl/calls/macro_rewrite.h"
#include "glsl/rules/rule_tables.h"
#include "glsl/text/names_present.h"

namespace glsl {

class ImageSet {
 public:
  static constexpr std::size_t npos = std::string_view::npos;

  explicit ImageSet(const std::map<std::string, std::string>& image_table);

  std::size_t size() const { return images_.size(); }
  // Which images' names occur in a text (an automaton of all the names,
  // built once, when first asked).
  const NamesPresent& names_present();
  std::size_t longest_name() const { return longest_; }
  // An image with an empty name, first in the table, reads any first
  // argument (until it has run).
  bool any_name() const { return first_ == 0 && !images_.empty() && images_.front().name.empty(); }
  // No name holds a macro name: a first argument that holds a call names no
  // image.
  bool plain_names() const { return plain_names_; }
  // Every sampler is an identifier: what a rewrite makes holds no
  // parenthesis, comma or comment, and makes no new call.
  bool plain_samplers() const { return plain_samplers_; }
  // The images before `image` have run: no first argument names them now.
  void start_at(std::size_t image) { first_ = image; }
  std::size_t first() const { return first_; }
  bool is_name_length(std::size_t length) const {
    return length < name_lengths_.size() && name_lengths_[length];
  }

  // The rank of the image whose name `first_argument` is, or npos (also
  // for an image that has run).
  std::size_t rank_of(std::string_view first_argument) const;

  // The rewrite of `row` for one image.
  MacroRewrite rewrite(const ImageRow& row, std::size_t image) const;
  // What a rewrite of `row` for `image` asks of the uniform block.
  void note_effects(const ImageRow& row, std::size_t image);

  // Appends the size uniforms that the rewrites used, in the table's order.
  void declare(std::string& uniforms) const;
  bool render_size_needed() const { return render_size_needed_; }

 private:
  struct Image {
    std::string_view name;
    std::string_view sampler;
    std::string size_uniform;  // kHost.size_prefix + sampler
    bool size_declared = false;
  };
  std::vector<Image> images_;
  std::vector<std::string_view> names_;
  std::optional<NamesPresent> names_present_;
  std::unordered_map<std::string_view, std::size_t> rank_;
  std::size_t longest_ = 0;
  std::vector<bool> name_lengths_;
  bool plain_names_ = true;
  bool plain_samplers_ = true;
  std::size_t first_ = 0;
  bool render_size_needed_ = false;
};

}  // namespace glsl
