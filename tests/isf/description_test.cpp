// The credit line and the plug-in description line at the top of the comment
// block, each kept on one line.
#include "isf/description.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using nlohmann::json;

TEST(DescriptionLinesTests, LinesForStringMembersOfAtLeastOneByte) {
  struct Case {
    json credit;
    json description;
    std::string expected;
  } const cases[] = {
      {json(), json(), ""},
      {"by me", "glows", "// CREDIT: by me\n// ORVANE_PLUGIN_DESC(\"glows\")\n"},
      {json(), "glows", "// ORVANE_PLUGIN_DESC(\"glows\")\n"},
      {"by me", json(), "// CREDIT: by me\n"},
      {42, "glows", "// ORVANE_PLUGIN_DESC(\"glows\")\n"},
      {json::array({"by me"}), "", ""},
      {"", true, ""},
      {" ", " ", "// CREDIT:  \n// ORVANE_PLUGIN_DESC(\" \")\n"},
      {"a \"b\" \\c", "say \"hi\"", "// CREDIT: a \"b\" \\c\n// ORVANE_PLUGIN_DESC(\"say \"hi\"\")\n"},
      {"caf\xC3\xA9", json::object(), "// CREDIT: caf\xC3\xA9\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(isf::description_lines(c.credit, c.description), c.expected) << c.expected;
  }
}

TEST(DescriptionLinesTests, LineBreaksBecomeSingleSpaces) {
  EXPECT_EQ(isf::description_lines(json("one\r\ntwo\rthree\nfour"), json()),
            "// CREDIT: one two three four\n");
  EXPECT_EQ(isf::description_lines(json(), json("\n\r|\r\n\r\n|\r")),
            "// ORVANE_PLUGIN_DESC(\"  |  | \")\n");
  // The JSON escape for a line break arrives as a real line feed.
  json header = json::parse(R"({"DESCRIPTION": "first\nsecond"})");
  EXPECT_EQ(isf::description_lines(json(), header["DESCRIPTION"]),
            "// ORVANE_PLUGIN_DESC(\"first second\")\n");
}

}  // namespace
