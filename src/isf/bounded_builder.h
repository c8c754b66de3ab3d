// The builder of header values: the JSON library's own, told not to throw,
// that fails at the first array or object nesting deeper than
// max_header_nesting. Both header readers hand their values to it.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>

#include "isf/header.h"

namespace isf {

class BoundedBuilder final : public nlohmann::json_sax<nlohmann::json> {
 public:
  using json = nlohmann::json;
  explicit BoundedBuilder(json& value) : builder_(value, false) {}

  bool null() override { return builder_.null(); }
  bool boolean(bool value) override { return builder_.boolean(value); }
  bool number_integer(json::number_integer_t value) override {
    return builder_.number_integer(value);
  }
  bool number_unsigned(json::number_unsigned_t value) override {
    return builder_.number_unsigned(value);
  }
  bool number_float(json::number_float_t value, const json::string_t& text) override {
    return builder_.number_float(value, text);
  }
  bool string(json::string_t& value) override { return builder_.string(value); }
  bool binary(json::binary_t& value) override { return builder_.binary(value); }
  bool start_object(std::size_t size) override { return deeper() && builder_.start_object(size); }
  bool key(json::string_t& name) override { return builder_.key(name); }
  bool end_object() override { return shallower() && builder_.end_object(); }
  bool start_array(std::size_t size) override { return deeper() && builder_.start_array(size); }
  bool end_array() override { return shallower() && builder_.end_array(); }
  bool parse_error(std::size_t position, const std::string& token,
                   const nlohmann::detail::exception& error) override {
    return builder_.parse_error(position, token, error);
  }

 private:
  bool deeper() { return ++depth_ <= max_header_nesting; }
  bool shallower() {
    --depth_;
    return true;
  }

  nlohmann::detail::json_sax_dom_parser<json> builder_;
  std::size_t depth_ = 0;
};

}  // namespace isf
