// Parsing the ISF header, looking up its five members, and the multi-pass
// test. A text that is not one JSON value parses to nothing; a header of the
// wrong type fails with the JSON library's exception for the header guard.
#include "isf/header.h"

#include <gtest/gtest.h>

#include <string>

#include "isf/source_reader.h"

namespace {

using nlohmann::json;

TEST(ParseHeaderTests, RejectsTextThatIsNotOneJsonValue) {
  const std::string texts[] = {
      "",
      "\n",
      "{\n\"A\": 1\n",
      "{\"A\": 1,}\n",
      "// licence\n{}\n",
      "{} trailing\n",
      "{\"A\": 1}\n{\"B\": 2}\n",
      "{\"NAME\": \"\xFF\xFE\"}\n",   // invalid UTF-8 inside a string
      "{\"A\": \xC3}\n",              // and outside one
      "{\"NAME\": \"\xED\xA0\x80\"}\n",  // an encoded surrogate
  };
  for (const std::string& text : texts) {
    EXPECT_FALSE(isf::parse_header(text)) << text;
  }
}

TEST(ParseHeaderTests, NumberBeyondDoubleRangeFails) {
  EXPECT_FALSE(isf::parse_header("{\"MAX\": 1e400}"));
}

TEST(ParseHeaderTests, ParsesObjectsNullAndOtherValues) {
  EXPECT_EQ(isf::parse_header(" {\"A\": [1, 2.5]} \n"), json::parse(R"({"A": [1, 2.5]})"));
  EXPECT_TRUE(isf::parse_header("null\n").value().is_null());
  EXPECT_TRUE(isf::parse_header("[1]").value().is_array());
}

TEST(ParseHeaderTests, NestingIsBoundedWithoutExhaustingTheStack) {
  const std::size_t limit = isf::max_header_nesting;
  std::string at_limit = std::string(limit, '[') + std::string(limit, ']');
  EXPECT_TRUE(isf::parse_header(at_limit));
  std::string over = std::string(limit + 1, '[') + std::string(limit + 1, ']');
  EXPECT_FALSE(isf::parse_header(over));

  const std::size_t hostile = 100000;
  std::string deep = "{\"INPUTS\": " + std::string(hostile, '[') + std::string(hostile, ']') + "}";
  EXPECT_FALSE(isf::parse_header(deep));
  std::string unclosed = std::string(hostile, '{');
  EXPECT_FALSE(isf::parse_header(unclosed));
}

TEST(ParseHeaderTests, BracketsInsideStringsDoNotCountAsNesting) {
  std::string brackets(100000, '[');
  std::string text = "{\"DESCRIPTION\": \"\\\"" + brackets + "\", \"CREDIT\": \"\\\\\"}";
  json header = isf::parse_header(text).value();
  EXPECT_EQ(header["DESCRIPTION"], "\"" + brackets);
  EXPECT_EQ(header["CREDIT"], "\\");
}

TEST(LookupHeaderMembersTests, CopiesTheFiveMembersAndIgnoresOthers) {
  json header = json::parse(R"({
    "CREDIT": "c", "DESCRIPTION": 7, "CATEGORIES": ["x"],
    "INPUTS": [{"NAME": "a", "TYPE": "float"}], "PASSES": {},
    "credit": "ignored", "Inputs": [], "ISFVSN": "2"
  })");
  isf::HeaderMembers members = isf::lookup_header_members(header);
  EXPECT_EQ(members.credit, "c");
  EXPECT_EQ(members.description, 7);
  EXPECT_EQ(members.categories, json::parse(R"(["x"])"));
  EXPECT_EQ(members.inputs, json::parse(R"([{"NAME": "a", "TYPE": "float"}])"));
  EXPECT_EQ(members.passes, json::object());
}

TEST(LookupHeaderMembersTests, MissingMembersAndNullHeaderReadAsNull) {
  for (const json& header : {json::parse("{\"credit\": \"x\"}"), json()}) {
    isf::HeaderMembers members = isf::lookup_header_members(header);
    EXPECT_TRUE(members.credit.is_null());
    EXPECT_TRUE(members.description.is_null());
    EXPECT_TRUE(members.categories.is_null());
    EXPECT_TRUE(members.inputs.is_null());
    EXPECT_TRUE(members.passes.is_null());
  }
}

TEST(LookupHeaderMembersTests, HeaderOtherThanObjectOrNullThrows) {
  for (const char* text : {"[]", "[{\"CREDIT\": \"c\"}]", "\"text\"", "3", "true"}) {
    EXPECT_THROW(isf::lookup_header_members(json::parse(text)), json::type_error) << text;
  }
}

TEST(HeaderDocumentTests, LicenceCommentAboveTheHeaderIsTakenAsTheHeader) {
  isf::ShaderSource source = isf::read_shader_source(
      "/* Licence: free for all uses.\n"
      "*/\n"
      "/*{\n"
      "\"DESCRIPTION\": \"d\"\n"
      "}*/\n"
      "void main() {}\n");
  EXPECT_EQ(source.header_text, " Licence: free for all uses.\n");
  EXPECT_EQ(source.body, "/*{\n\"DESCRIPTION\": \"d\"\n}*/\nvoid main() {}\n");
  EXPECT_FALSE(isf::parse_header(source.header_text));
}

TEST(HeaderDocumentTests, HeaderLeftOpenAtTheEndOfTheFileStillParses) {
  isf::ShaderSource source = isf::read_shader_source("/*{\n\"CREDIT\": \"me\"\n}\n");
  EXPECT_EQ(source.body, "");
  EXPECT_EQ(isf::lookup_header_members(isf::parse_header(source.header_text).value()).credit, "me");
}

TEST(MultiPassTests, PassesArraysAndPassIndexInTheBody) {
  struct Case {
    const char* body;
    const char* passes;
    bool refused;
  } const cases[] = {
      {"void main() {}\n", "null", false},
      {"void main() {}\n", "[]", false},
      {"void main() {}\n", "[{}]", true},
      {"void main() {}\n", "[{\"TARGET\": \"a\"}, {}]", true},
      {"void main() {}\n", "{\"TARGET\": \"a\"}", false},
      {"void main() {}\n", "\"two\"", false},
      {"void main() {}\n", "2", false},
      {"// uses PASSINDEX later\n", "null", true},
      {"int x = MYPASSINDEXES;\n", "[]", true},
      {"int x = passindex;\n", "null", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(isf::is_multi_pass(c.body, json::parse(c.passes)), c.refused)
        << c.body << " / " << c.passes;
  }
}

}  // namespace
