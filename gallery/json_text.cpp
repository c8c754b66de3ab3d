// A small writer over nlohmann::json values: objects and arrays indented by
// two spaces, numbers, booleans and null as nlohmann writes them, strings
// through our own escaping.
#include "json_text.h"

namespace gallery {
namespace {

const char hex_digits[] = "0123456789abcdef";
const char upper_hex_digits[] = "0123456789ABCDEF";

void write_string(std::string& out, std::string_view text) {
  out += '"';
  for (std::size_t at = 0; at < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[at]);
    std::size_t length = utf8_sequence_length(text, at);
    if (length > 1) {
      out.append(text, at, length);
      at += length;
      continue;
    }
    ++at;
    switch (c) {
      case '"': out += "\\\""; continue;
      case '\\': out += "\\\\"; continue;
      case '\b': out += "\\b"; continue;
      case '\f': out += "\\f"; continue;
      case '\n': out += "\\n"; continue;
      case '\r': out += "\\r"; continue;
      case '\t': out += "\\t"; continue;
      default: break;
    }
    if (c < 0x20 || length == 0) {
      out += length == 0 ? "\\udc" : "\\u00";
      out += hex_digits[c >> 4];
      out += hex_digits[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  out += '"';
}

void write_value(std::string& out, const nlohmann::json& value, std::size_t depth) {
  const bool is_object = value.is_object();
  if (!is_object && !value.is_array()) {
    if (value.is_string())
      write_string(out, value.get_ref<const std::string&>());
    else
      out += value.dump();
    return;
  }
  if (value.empty()) {
    out += is_object ? "{}" : "[]";
    return;
  }
  out += is_object ? "{\n" : "[\n";
  bool first = true;
  for (auto item = value.begin(); item != value.end(); ++item) {
    if (!first) out += ",\n";
    first = false;
    out.append(2 * (depth + 1), ' ');
    if (is_object) {
      write_string(out, item.key());
      out += ": ";
    }
    write_value(out, *item, depth + 1);
  }
  out += '\n';
  out.append(2 * depth, ' ');
  out += is_object ? '}' : ']';
}

}  // namespace

std::size_t utf8_sequence_length(std::string_view text, std::size_t at) {
  unsigned char c = static_cast<unsigned char>(text[at]);
  if (c < 0x80) return 1;
  std::size_t length = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
  if (length == 0 || at + length > text.size()) return 0;
  unsigned char second = static_cast<unsigned char>(text[at + 1]);
  unsigned char low = 0x80, high = 0xBF;
  if (c == 0xE0) low = 0xA0;       // overlong
  if (c == 0xED) high = 0x9F;      // surrogates
  if (c == 0xF0) low = 0x90;       // overlong
  if (c == 0xF4) high = 0x8F;      // above U+10FFFF
  if (second < low || second > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    unsigned char next = static_cast<unsigned char>(text[at + i]);
    if (next < 0x80 || next > 0xBF) return 0;
  }
  return length;
}

std::string json_text(const nlohmann::json& value) {
  std::string out;
  write_value(out, value, 0);
  return out;
}

std::string readable_text(std::string_view text) {
  std::string out;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t length = utf8_sequence_length(text, at);
    if (length > 0) {
      out.append(text, at, length);
      at += length;
      continue;
    }
    unsigned char c = static_cast<unsigned char>(text[at++]);
    out += "\\x";
    out += upper_hex_digits[c >> 4];
    out += upper_hex_digits[c & 15];
  }
  return out;
}

}  // namespace gallery
