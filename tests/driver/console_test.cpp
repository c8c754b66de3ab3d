// How a name is shown on a terminal: every control character as '?', every
// other byte (UTF-8 and other bytes above 0x7F included) as it is.
#include "driver/console.h"

#include <gtest/gtest.h>

TEST(ControlCharactersShown, EachBecomesOneQuestionMark) {
  struct Row {
    std::string name;
    std::string shown;
  } rows[] = {
      {"wave.fs", "wave.fs"},
      {"x\x1b]0;pwned\x07\x1b[2J.fs", "x?]0;pwned??[2J.fs"},
      {std::string("a\0b\n\r\t\x1f.fs", 10), "a?b????.fs"},
      {"del\x7f.fs", "del?.fs"},
      {" ~\x80\xff\xc3\xa9.fs", " ~\x80\xff\xc3\xa9.fs"},
      {"", ""},
  };
  for (const Row& row : rows)
    EXPECT_EQ(console::with_control_characters_shown(row.name), row.shown) << row.name;
}
