// The quick header reader held to the JSON library's parser: every text it
// reads, the library reads to the same value, with the same kinds of number;
// texts outside its subset it leaves to the library.
#include "isf/plain_json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "isf/bounded_builder.h"
#include "isf/source_reader.h"
#include "support/files.h"

namespace {

using nlohmann::json;

// The library's == takes 1, 1u and 1.0 for one value; here the kinds count.
bool same(const json& a, const json& b) {
  if (a.type() != b.type()) return false;
  if (a.is_array() || a.is_object()) {
    if (a.size() != b.size()) return false;
    for (auto x = a.begin(), y = b.begin(); x != a.end(); ++x, ++y) {
      if ((a.is_object() && x.key() != y.key()) || !same(*x, *y)) return false;
    }
    return true;
  }
  if (a.is_number_float()) {
    const double x = a.get<double>();
    const double y = b.get<double>();
    return x == y && std::signbit(x) == std::signbit(y);
  }
  return a == b;
}

std::optional<json> read_plain(const std::string& text) {
  json value;
  isf::BoundedBuilder builder(value);
  if (!isf::read_plain_json(text, builder)) return std::nullopt;
  return value;
}

// Whether the quick reader reads `text`; when it does, it must agree with
// the library.
bool reads_as_library_does(const std::string& text) {
  const std::optional<json> plain = read_plain(text);
  if (!plain) return false;
  const json library = json::parse(text, nullptr, false);
  EXPECT_FALSE(library.is_discarded()) << text;
  EXPECT_TRUE(same(*plain, library)) << text;
  return true;
}

TEST(PlainJsonTests, ReadsThePlainSubsetAndLeavesTheRest) {
  struct Case {
    std::string text;
    bool read;
  } const cases[] = {
      {R"({"INPUTS": [{"NAME": "a", "TYPE": "float", "MIN": 0.0, "MAX": 1, "DEFAULT": 0.5}]})", true},
      {" \t\r\n{ \"A\" : [ ] , \"B\" : { } , \"A\" : null }\n", true},  // the last "A" wins
      {"[true, false, null, \"\", \"~ !#\"]", true},
      {"0", true},
      {"-0", true},
      {"-0.0", true},
      {"1E+2", true},
      {"2.5e-3", true},
      {"-1e-400", true},  // below the smallest double: zero, as the library reads it
      {"18446744073709551615", true},
      {"18446744073709551616", true},  // beyond 64 bits: a double
      {"-9223372036854775808", true},
      {"-9223372036854775809", true},
      {"12345678901234567890123456789", true},
      {"1e400", false},  // out of range: the library refuses it
      {"-", false},
      {"01", false},
      {"1.", false},
      {".5", false},
      {"+1", false},
      {"1e", false},
      {"[1 2]", false},
      {"[1,]", false},
      {"{\"A\": 1,}", false},
      {"{\"A\" 1}", false},
      {"{1: 2}", false},
      {"tru", false},
      {"nulll", false},
      {"[truex]", false},
      {"", false},
      {" \n", false},
      {"{} {}", false},
      {"{}}", false},
      {"[}", false},
      {"\"a\\\"b\"", false},             // escapes are left to the library
      {"\"caf\xC3\xA9\"", false},        // and UTF-8
      {"\xEF\xBB\xBF{}", false},         // and a byte order mark
      {"\"tab\there\"", false},          // a control character the library refuses
      {"{\"A\": 1}\v", false},           // a blank that JSON does not know
      {std::string("[1]\0", 4), false},  // a NUL after the value
  };
  for (const Case& c : cases) EXPECT_EQ(reads_as_library_does(c.text), c.read) << c.text;
}

TEST(PlainJsonTests, NestingBoundStopsTheQuickReaderToo) {
  const std::size_t limit = isf::max_header_nesting;
  EXPECT_TRUE(read_plain(std::string(limit, '[') + std::string(limit, ']')));
  EXPECT_FALSE(read_plain(std::string(limit + 1, '[') + std::string(limit + 1, ']')));
}

// The headers of the examples and golden files, with bytes of JSON syntax
// put in, taken out and repeated at random places.
TEST(PlainJsonTests, AgreesWithTheLibraryOnDamagedRealHeaders) {
  std::vector<std::string> headers;
  for (const char* folder : {"examples", "tests/golden"}) {
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(test_support::source_path(folder))) {
      if (entry.path().extension() != ".fs") continue;
      headers.push_back(
          isf::read_shader_source(test_support::read_bytes(entry.path().string())).header_text);
    }
  }
  ASSERT_FALSE(headers.empty());
  const std::string pieces[] = {"{", "}", "[", "]", "\"", ",", ":", " ", "\n", "\\", "-", "0",
                                "1", ".", "e", "+", "t", "null", "\"\"", "1e999", "99999999999999999999"};
  std::mt19937 random(17);
  std::size_t read = 0;
  const std::size_t rounds = 20000;
  for (std::size_t round = 0; round < rounds; ++round) {
    std::string text = headers[random() % headers.size()];
    for (std::size_t edit = random() % 3; edit > 0 && !text.empty(); --edit) {
      const std::size_t at = random() % (text.size() + 1);
      switch (random() % 3) {
        case 0: text.insert(at, pieces[random() % std::size(pieces)]); break;
        case 1: text.erase(at, 1 + random() % 3); break;
        default: text.insert(at, text.substr(random() % text.size(), 1 + random() % 20)); break;
      }
    }
    if (reads_as_library_does(text)) ++read;
  }
  // Most of the undamaged and a good part of the damaged texts take the
  // quick way; the rest goes to the library.
  EXPECT_GT(read, rounds / 4);
  EXPECT_LT(read, rounds);
}

}  // namespace
