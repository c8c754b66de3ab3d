// Windows paths end to end, on drive-letter paths with backslashes: the
// backslash is the one separator of the path rules (a forward slash is an
// ordinary character there), the output file holds CR LF line ends, and a
// file is recognised by its identity, whatever the spelling of its path.
#ifdef _WIN32
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/file_probes.h"
#include "support/e2e_fixtures.h"
#include "support/files.h"
#include "support/process.h"

namespace fs = std::filesystem;
using test_support::flat_shader;
using test_support::processed;
using test_support::read_bytes;
using test_support::run_tool;
using test_support::TempDir;
using test_support::write_bytes;

namespace {

std::string with_forward_slashes(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

std::string upper_case(std::string path) {
  for (char& c : path) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return path;
}

// A scratch folder reached through a drive-letter path, with fx\wave.fs and
// an empty out folder in it.
class WindowsPaths : public testing::Test {
 protected:
  void SetUp() override {
    root = dir.path().string();
    ASSERT_TRUE(root.size() > 3 && std::isalpha(static_cast<unsigned char>(root[0])) &&
                root.compare(1, 2, ":\\") == 0)
        << root;
    fx = root + "\\fx";
    out = root + "\\out";
    fs::create_directory(fx);
    fs::create_directory(out);
    shader = fx + "\\wave.fs";
    write_bytes(shader, flat_shader);
  }

  TempDir dir;
  std::string root, fx, out, shader;
};

TEST_F(WindowsPaths, DirectoryWithOrWithoutBackslashGivesTheSameList) {
  write_bytes(fx + "\\glow.fs", flat_shader);
  write_bytes(fx + "\\glow.vs", "void main() {}\n");
  write_bytes(fx + "\\notes.txt", "");
  fs::create_directory(fx + "\\old.fs");
  for (const std::string& input : {fx, fx + "\\"}) {
    auto run = run_tool({input, out});
    EXPECT_EQ(run.status, 0) << input;
    EXPECT_EQ(run.out, processed(fx + "\\wave.fs")) << input;
    EXPECT_EQ(run.err, "*ERROR* Cannot Process ISF Shaders With Vertex Shaders (" + fx +
                           "\\glow.fs)\n")
        << input;
  }
  EXPECT_TRUE(fs::is_regular_file(out + "\\wave.frag"));
  EXPECT_FALSE(fs::exists(out + "\\glow.frag"));
  EXPECT_FALSE(fs::exists(out + "\\old.frag"));
}

TEST_F(WindowsPaths, ForwardSlashAtTheEndOfTheInputGetsABackslashAfterIt) {
  std::string input = with_forward_slashes(fx) + "/";
  auto run = run_tool({input, out});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, processed(input + "\\wave.fs"));
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(fs::is_regular_file(out + "\\wave.frag"));
}

// The output file path shows in the write error, so a directory in the way
// of out\wave.frag makes the exact path visible.
TEST_F(WindowsPaths, AnExistingOutputDirectoryGetsABackslashUnlessItEndsInOne) {
  fs::create_directory(out + "\\wave.frag");
  struct Case {
    std::string output_path;
    std::string output_file;
  } cases[] = {
      {out, out + "\\wave.frag"},
      {out + "\\", out + "\\wave.frag"},
      {with_forward_slashes(out) + "/", with_forward_slashes(out) + "/\\wave.frag"},
  };
  for (const Case& c : cases) {
    auto run = run_tool({shader, c.output_path});
    EXPECT_EQ(run.status, 1) << c.output_path;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Error: could not write output file " + c.output_file + ".\n");
  }
  EXPECT_TRUE(fs::is_directory(out + "\\wave.frag"));
}

TEST_F(WindowsPaths, OutputPathRules) {
  write_bytes(out + "\\existing.frag", "old contents");
  struct Case {
    std::string output_path;
    std::string expected_file;
  } cases[] = {
      {"", fx + "\\wave.frag"},                                    // beside the shader
      {out, out + "\\wave.frag"},                                  // existing directory
      {out + "\\existing.frag", out + "\\existing.frag"},          // existing file
      {out + "\\new_", out + "\\new_wave.frag"},                   // prefix
      {out + "\\result.frag", out + "\\result.fragwave.frag"},     // no such file: a prefix too
      {out + "\\sub", out + "\\subwave.frag"},                     // no such folder
      {with_forward_slashes(out) + "/pre_", out + "\\pre_wave.frag"},
  };
  for (const Case& c : cases) {
    auto run = run_tool({shader, c.output_path});
    EXPECT_EQ(run.status, 0) << c.output_path;
    EXPECT_EQ(run.out, processed(shader)) << c.output_path;
    EXPECT_EQ(run.err, "") << c.output_path;
    ASSERT_TRUE(fs::is_regular_file(c.expected_file)) << c.output_path;
    EXPECT_EQ(read_bytes(c.expected_file).find("// ORVANE_PLUGIN_DESC(\"flat\")\r\n"), 0u)
        << c.output_path;
  }
  EXPECT_FALSE(fs::exists(out + "\\sub"));
}

TEST_F(WindowsPaths, OnlyTheBackslashSplitsTheBaseName) {
  std::string dot_fs = fx + "\\.fs";
  write_bytes(dot_fs, flat_shader);
  auto empty_base = run_tool({dot_fs, out});
  EXPECT_EQ(empty_base.status, 1);
  EXPECT_EQ(empty_base.out, "");
  EXPECT_EQ(empty_base.err, "Error: input filename could not be determined.\n");

  // With a forward slash before it, the base name is "fx/wave": the output
  // file would be out\fx/wave.frag, in a folder that does not exist.
  std::string slashed = root + "\\fx/wave.fs";
  auto run = run_tool({slashed, out});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "Error: could not write output file " + out + "\\fx/wave.frag.\n");
}

TEST_F(WindowsPaths, OutputFileHoldsCrLfLineEnds) {
  auto run = run_tool({shader, out});
  ASSERT_EQ(run.status, 0);
  std::string written = read_bytes(out + "\\wave.frag");
  ASSERT_NE(written.find("\r\n"), std::string::npos);
  for (std::size_t at = written.find('\n'); at != std::string::npos; at = written.find('\n', at + 1))
    ASSERT_TRUE(at > 0 && written[at - 1] == '\r') << "bare line feed at byte " << at;
  EXPECT_EQ(written.find("\r\r"), std::string::npos);
}

TEST_F(WindowsPaths, BareShaderNameWritesIntoTheWorkingDirectory) {
  test_support::RunOptions in_fx;
  in_fx.working_directory = fx;
  auto run = run_tool({"wave.fs", ""}, in_fx);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, processed("wave.fs"));
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(fs::is_regular_file(fx + "\\wave.frag"));
}

// The same file through a hard link or another spelling of its path: the
// comparison is by file identity, not by path text.
TEST_F(WindowsPaths, AShaderNeverOverwritesItself) {
  fs::create_hard_link(shader, out + "\\wave.frag");
  struct Case {
    std::string output_path;
    std::string output_file;
  } cases[] = {
      {out, out + "\\wave.frag"},
      {upper_case(shader), upper_case(shader)},
      {with_forward_slashes(shader), with_forward_slashes(shader)},
  };
  for (const Case& c : cases) {
    auto run = run_tool({shader, c.output_path});
    EXPECT_EQ(run.status, 1) << c.output_path;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Error: output file " + c.output_file + " is the input shader.\n");
    EXPECT_EQ(read_bytes(shader), flat_shader);
  }
}

// Another ISF shader, in any letter case, is never an output: as when the
// shell hands over "*.fs".
TEST_F(WindowsPaths, NoOutputReplacesAnIsfShader) {
  write_bytes(fx + "\\b.fs", "b");
  write_bytes(fx + "\\C.VS", "c");
  auto star = run_tool({shader, fx + "\\b.fs", fx + "\\C.VS"});
  EXPECT_EQ(star.status, 1);
  EXPECT_EQ(star.out, "");
  EXPECT_EQ(star.err, "Warning: extra argument " + fx + "\\C.VS is ignored.\n"
                      "Error: output file " + fx + "\\b.fs is an ISF shader; it was not overwritten.\n");
  auto upper = run_tool({shader, fx + "\\B.FS"});
  EXPECT_EQ(upper.status, 1);
  EXPECT_EQ(upper.err,
            "Error: output file " + fx + "\\B.FS is an ISF shader; it was not overwritten.\n");
  EXPECT_EQ(read_bytes(fx + "\\b.fs"), "b");
  EXPECT_EQ(read_bytes(fx + "\\C.VS"), "c");
}

// The output is replaced by a file of its own: a hard link's other name
// keeps the old text and no temporary file stays; a read-only output is
// left as it was.
TEST_F(WindowsPaths, AnOutputIsReplacedInOneStep) {
  std::string target = out + "\\wave.frag";
  write_bytes(target, "old");
  fs::create_hard_link(target, out + "\\other-name");
  auto run = run_tool({shader, out});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(read_bytes(target).find("// ORVANE_PLUGIN_DESC(\"flat\")\r\n"), 0u);
  EXPECT_EQ(read_bytes(out + "\\other-name"), "old");
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(out)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"other-name", "wave.frag"}));

  write_bytes(target, "read-only");
  fs::permissions(target, fs::perms::owner_read);  // the read-only attribute
  auto refused = run_tool({shader, out});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err, "Error: could not write output file " + target + ".\n");
  fs::permissions(target, fs::perms::owner_all);
  EXPECT_EQ(read_bytes(target), "read-only");
}

TEST(WindowsDevices, NulIsACharacterDevice) {
  EXPECT_EQ(driver::file_kind("NUL"), driver::FileKind::other);
  EXPECT_EQ(driver::file_kind("nul"), driver::FileKind::other);
  TempDir dir;
  auto run = run_tool({"NUL", dir.path().string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "*ERROR* Input file path NUL is neither a directory nor a file with the .fs extension\n");
}

}  // namespace
#endif
