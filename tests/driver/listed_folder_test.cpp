// A folder's listing rules out only names that nothing listed can match.
#include "driver/listed_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ListedFolder, RulesOutOnlyNamesNothingListedCanMatch) {
  const std::string folder = std::string("in") + platform::separator;
  driver::ListedFolder listed =
      driver::listed_folder(folder, {{".", {}}, {"Glow.VS", {}}, {"wave.fs", {}}});
  struct Row {
    std::string path;
    bool may_exist;
  } rows[] = {
      {folder + "glow.vs", true},     // the same name but for the case of ASCII letters
      {folder + "wave.fs", true},
      {folder + "wave.vs", false},
      {folder + "wav\xC3\xA9.vs", true},  // beyond ASCII, case folding is the file system's
      {folder + "sub/wave.vs", true},      // not directly inside the folder
      {"elsewhere/wave.vs", true},
      {folder, true},
  };
  for (const Row& row : rows) EXPECT_EQ(driver::may_exist(listed, row.path), row.may_exist) << row.path;
}

}  // namespace
