// Renames a run of image names whose names may hold the samplers that
// earlier names write, in time near-linear in the body plus the names (see
// token_renaming.cpp).
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "glsl/text/body_text.h"

namespace glsl {

// An entry of the image table: name -> sampler.
using ImageEntry = std::pair<const std::string, std::string>;

// The longest body this renaming takes (its positions are 32-bit).
constexpr std::size_t kLongestTokenText = std::size_t{1} << 30;

// Each name of `names` replaced by its sampler as a whole word over the
// whole text, one name after another in the order given. Each name starts
// with a letter or '_' and differs from its sampler, which is an
// identifier; `body` has no NUL and at most kLongestTokenText characters.
// True when the text changed.
bool rename_as_tokens(BodyText& body, const std::vector<const ImageEntry*>& names);

}  // namespace glsl
