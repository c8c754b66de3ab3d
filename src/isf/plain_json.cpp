// One reading from left to right with a stack of the open arrays and
// objects; each byte is looked at a bounded number of times, so the time is
// linear in the text. Numbers are converted as the library converts them:
// an integer that fits 64 bits as one (signed when it has a minus), any
// other number by strtod.
//
// Example: {"A": [1, -2.5e0], "B": "x"} gives start_object, key "A",
// start_array, number_unsigned 1, number_float -2.5, end_array, key "B",
// string "x", end_object. {"A": "caf\u00e9"} gives up at the backslash,
// {"A": 1,} at the "}", and "1e400" at the end, being out of range.
#include "isf/plain_json.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace isf {
namespace {

using json = nlohmann::json;

// What the library's parser tells a handler about a container's size.
constexpr std::size_t kUnknownSize = static_cast<std::size_t>(-1);

// The classes of bytes the reader scans over, looked up by byte: blanks,
// digits, and the bytes a string may hold here (printable ASCII; control
// characters, escapes and UTF-8 are left to the library).
enum : unsigned char { kBlank = 1, kDigit = 2, kStringByte = 4 };

struct ByteClasses {
  unsigned char of[256] = {};
  constexpr ByteClasses() {
    for (char c : {' ', '\t', '\n', '\r'}) of[static_cast<unsigned char>(c)] |= kBlank;
    for (int c = '0'; c <= '9'; ++c) of[c] |= kDigit;
    for (int c = ' '; c <= '~'; ++c) {
      if (c != '"' && c != '\\') of[c] |= kStringByte;
    }
  }
};
constexpr ByteClasses kByteClasses;

bool is_of(char c, unsigned char byte_class) {
  return (kByteClasses.of[static_cast<unsigned char>(c)] & byte_class) != 0;
}

bool is_blank(char c) { return is_of(c, kBlank); }
bool is_digit(char c) { return is_of(c, kDigit); }
bool is_plain_string_char(char c) { return is_of(c, kStringByte); }

class PlainReader {
 public:
  PlainReader(std::string_view text, nlohmann::json_sax<json>& handler)
      : text_(text), handler_(handler) {}

  bool read() {
    std::string open;  // '{' or '[' for each object or array still open
    skip_blanks();
    for (;;) {
      // A value starts here.
      if (at_ == text_.size()) return false;
      const char c = text_[at_];
      if (c == '{' || c == '[') {
        ++at_;
        if (!start(c)) return false;
        skip_blanks();
        if (at_ < text_.size() && text_[at_] == closer(c)) {
          ++at_;
          if (!end(c)) return false;
        } else {
          open += c;
          if (c == '{' && !read_key()) return false;
          continue;
        }
      } else if (!read_scalar()) {
        return false;
      }
      // A value has ended: close what ends with it, then on to the next one.
      for (;;) {
        skip_blanks();
        if (open.empty()) return at_ == text_.size();
        if (at_ == text_.size()) return false;
        const char next = text_[at_++];
        if (next == ',') {
          skip_blanks();
          if (open.back() == '{' && !read_key()) return false;
          break;
        }
        if (next != closer(open.back()) || !end(open.back())) return false;
        open.pop_back();
      }
    }
  }

 private:
  static char closer(char opener) { return opener == '{' ? '}' : ']'; }

  bool start(char opener) {
    return opener == '{' ? handler_.start_object(kUnknownSize) : handler_.start_array(kUnknownSize);
  }

  bool end(char opener) { return opener == '{' ? handler_.end_object() : handler_.end_array(); }

  // The scanning loops keep their place in a local: a member would be
  // written back at every byte, since the bytes read might alias it.
  template <class Test>
  std::size_t skip_while(Test test) const {
    std::size_t at = at_;
    while (at < text_.size() && test(text_[at])) ++at;
    return at;
  }

  void skip_blanks() { at_ = skip_while(is_blank); }

  bool skip_digits() {
    const std::size_t begin = at_;
    at_ = skip_while(is_digit);
    return at_ > begin;
  }

  bool take(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) return false;
    at_ += word.size();
    return true;
  }

  // A string, its text left in token_.
  bool read_string() {
    const std::size_t begin = ++at_;
    at_ = skip_while(is_plain_string_char);
    if (at_ == text_.size() || text_[at_] != '"') return false;
    token_.assign(text_, begin, at_ - begin);
    ++at_;
    return true;
  }

  // A member's name, its colon and the blanks after it.
  bool read_key() {
    if (at_ == text_.size() || text_[at_] != '"') return false;
    if (!read_string() || !handler_.key(token_)) return false;
    skip_blanks();
    if (at_ == text_.size() || text_[at_] != ':') return false;
    ++at_;
    skip_blanks();
    return true;
  }

  bool read_scalar() {
    const char c = text_[at_];
    if (c == '"') return read_string() && handler_.string(token_);
    if (c == '-' || is_digit(c)) return read_number();
    if (take("true")) return handler_.boolean(true);
    if (take("false")) return handler_.boolean(false);
    if (take("null")) return handler_.null();
    return false;
  }

  // -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
  bool read_number() {
    const std::size_t begin = at_;
    const bool negative = text_[at_] == '-';
    if (negative) ++at_;
    if (at_ < text_.size() && text_[at_] == '0') {
      ++at_;
    } else if (!skip_digits()) {
      return false;
    }
    bool integer = true;
    if (at_ < text_.size() && text_[at_] == '.') {
      ++at_;
      if (!skip_digits()) return false;
      integer = false;
    }
    if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
      ++at_;
      if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-')) ++at_;
      if (!skip_digits()) return false;
      integer = false;
    }
    const char* first = text_.data() + begin;
    const char* last = text_.data() + at_;
    if (integer && negative) {
      std::int64_t value = 0;
      if (std::from_chars(first, last, value).ec == std::errc()) return handler_.number_integer(value);
    } else if (integer) {
      std::uint64_t value = 0;
      if (std::from_chars(first, last, value).ec == std::errc()) return handler_.number_unsigned(value);
    }
    // A fraction, an exponent, or an integer beyond 64 bits.
    token_.assign(first, last);
    const double value = std::strtod(token_.c_str(), nullptr);
    return std::isfinite(value) && handler_.number_float(value, token_);
  }

  std::string_view text_;
  nlohmann::json_sax<json>& handler_;
  std::size_t at_ = 0;
  std::string token_;  // the last string's text, or the last number's
};

}  // namespace

bool read_plain_json(std::string_view text, nlohmann::json_sax<nlohmann::json>& handler) {
  return PlainReader(text, handler).read();
}

}  // namespace isf
