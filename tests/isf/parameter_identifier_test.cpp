// Parameter identifiers: the documented examples, the alphabet, and names
// with NUL bytes.
#include "isf/parameter_identifier.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using isf::identifier_alphabet;
using isf::parameter_identifier;

TEST(ParameterIdentifierTests, KnownNames) {
  struct Case {
    const char* name;
    const char* identifier;
  } const cases[] = {
      {"abc", "s3ug"},      {"invert", "}eJ_"},   {"flash", "At}y"},
      {"gain", "laoL"},     {"level", "M*EO"},    {"mode", "aZHp"},
      {"tint", "s-XL"},     {"center_x", "tvT}"}, {"center_y", "}%&g"},
  };
  for (const Case& c : cases) EXPECT_EQ(parameter_identifier(c.name), c.identifier) << c.name;
}

TEST(ParameterIdentifierTests, NameIsDigestedUpToItsFirstNul) {
  EXPECT_EQ(parameter_identifier(std::string("abc\0def", 7)), "s3ug");
  EXPECT_EQ(parameter_identifier(std::string("\0abc", 4)), parameter_identifier(""));
  EXPECT_NE(parameter_identifier("ABC"), parameter_identifier("abc"));
}

TEST(ParameterIdentifierTests, AlphabetHoldsAllPrintablesButTwelve) {
  ASSERT_EQ(identifier_alphabet.size(), 83u);
  const std::string excluded = " !\"'(),.:;@`";
  for (char c = 0x20; c < 0x7F; ++c) {
    bool in_alphabet = identifier_alphabet.find(c) != std::string_view::npos;
    EXPECT_NE(in_alphabet, excluded.find(c) != std::string::npos) << c;
  }
}

TEST(ParameterIdentifierTests, EveryIdentifierIsFourAlphabetCharacters) {
  for (int i = 0; i < 2000; ++i) {
    std::string identifier = parameter_identifier("p" + std::to_string(i));
    ASSERT_EQ(identifier.size(), 4u);
    EXPECT_EQ(identifier.find_first_not_of(identifier_alphabet), std::string::npos) << identifier;
  }
}

}  // namespace
