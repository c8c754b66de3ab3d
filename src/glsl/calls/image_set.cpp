// The image table of the image passes, and the effects of their rewrites.
#include "glsl/calls/image_set.h"

#include <algorithm>

#include "glsl/text/chars.h"

namespace glsl {

ImageSet::ImageSet(const std::map<std::string, std::string>& image_table) {
  for (const auto& [name, sampler] : image_table) {
    rank_.emplace(name, images_.size());
    images_.push_back({name, sampler, std::string(kHost.size_prefix) + sampler});
    names_.push_back(name);
    longest_ = std::max(longest_, name.size());
    bool plain = true;
    for (const ImageRow& row : kImageRows) plain = plain && name.find(row.macro_name) == std::string::npos;
    plain_names_ = plain_names_ && plain;
    plain_samplers_ = plain_samplers_ && !sampler.empty() &&
                      std::all_of(sampler.begin(), sampler.end(), is_identifier_char);
  }
  name_lengths_.assign(longest_ + 1, false);
  for (std::string_view name : names_) name_lengths_[name.size()] = true;
}

const NamesPresent& ImageSet::names_present() {
  if (!names_present_) names_present_.emplace(names_);
  return *names_present_;
}

std::size_t ImageSet::rank_of(std::string_view first_argument) const {
  if (first_argument.size() > longest_) return npos;
  const auto found = rank_.find(first_argument);
  return found == rank_.end() || found->second < first_ ? npos : found->second;
}

MacroRewrite ImageSet::rewrite(const ImageRow& row, std::size_t image) const {
  const Image& at = images_[image];
  return {row.macro_name,
          row.function_name,
          row.argument_count,
          at.name,
          row.first_becomes_size ? std::string_view(at.size_uniform) : at.sampler,
          row.second_suffix,
          row.trailing_argument};
}

void ImageSet::note_effects(const ImageRow& row, std::size_t image) {
  if (row.declares_size) images_[image].size_declared = true;
  if (row.needs_render_size) render_size_needed_ = true;
}

void ImageSet::declare(std::string& uniforms) const {
  for (const Image& image : images_) {
    if (image.size_declared) uniforms += "uniform vec2 " + image.size_uniform + ";\n";
  }
}

}  // namespace glsl
