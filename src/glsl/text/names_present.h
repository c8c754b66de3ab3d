// Which of many names occur somewhere in a text, found in one reading of the
// text whatever the number of names (Aho-Corasick), so that an image whose
// name the body does not hold can be passed over without reading the body.
#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace glsl {

class NamesPresent {
 public:
  // `names` must outlive this object; an empty name occurs in every text.
  explicit NamesPresent(const std::vector<std::string_view>& names);

  // The names that occur in `text`, by their index, ascending. Linear in
  // the text plus the names found, whatever the number of names.
  std::vector<std::uint32_t> in(std::string_view text) const;

 private:
  struct State {
    std::uint32_t fail = 0;
    // The nearest state along the failure links that is a whole name, or 0.
    std::uint32_t output = 0;
    std::vector<std::uint32_t> names;  // the names that end here
  };
  std::uint32_t child(std::uint32_t state, unsigned char c) const;

  std::vector<State> states_;
  bool starts_[256] = {};  // the first characters of the names
  std::unordered_map<std::uint64_t, std::uint32_t> edges_;
};

}  // namespace glsl
