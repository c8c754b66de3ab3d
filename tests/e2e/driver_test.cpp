// The command line end to end: arguments, batch runs, refusals, output
// naming and the exit status, checked on the built binary and real files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

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

const std::string usage_text =
    "Usage:\n\n"
    "isf2orvy input_path [output_path]\n\n"
    "If 'input_path' is a directory, all shaders in the directory will be procesed. In this case "
    "'output_path' must also be a directory.\n"
    "If no output file path is specified, then a new file name\n"
    "will be generated from the input file name.\n";

#ifdef _WIN32
const std::string null_device = "NUL";
const char separator = '\\';
const std::string line_end = "\r\n";  // the output file is written in text mode

// The listing comes in the platform's own order: compare the lines as a set.
std::string listing_order(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line + "\n");
  std::sort(lines.begin(), lines.end());
  std::string joined;
  for (const std::string& line : lines) joined += line;
  return joined;
}
#else
const std::string null_device = "/dev/null";
const char separator = '/';
const std::string line_end = "\n";

// The listing is sorted by bytes.
std::string listing_order(const std::string& text) { return text; }
#endif

TEST(CommandLine, FewerThanTwoArgumentsPrintUsageAndSucceed) {
  for (const auto& args : {std::vector<std::string>{}, std::vector<std::string>{"x.fs"}}) {
    auto run = run_tool(args);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, usage_text);
  }
}

TEST(CommandLine, DirectoryInputNeedsAnExistingOutputDirectory) {
  TempDir dir;
  write_bytes(dir.at("a.fs"), flat_shader);

  auto empty = run_tool({dir.path().string(), ""});
  EXPECT_EQ(empty.status, 1);
  EXPECT_EQ(empty.err,
            "Error: An output file path must be provided when input file path is a directory.\n");

  std::string missing = dir.at("nowhere");
  auto absent = run_tool({dir.path().string(), missing});
  EXPECT_EQ(absent.status, 1);
  EXPECT_EQ(absent.err, "Error: Output file path " + missing +
                            " must be a directory when the input file path is a directory.\n");

  auto file = run_tool({dir.path().string(), dir.at("a.fs")});
  EXPECT_EQ(file.status, 1);
  EXPECT_EQ(file.out, "");
  EXPECT_FALSE(fs::exists(dir.at("a.frag")));
}

TEST(CommandLine, InputThatIsNeitherDirectoryNorFsFileIsRejected) {
  TempDir dir;
  write_bytes(dir.at("upper.FS"), flat_shader);
  write_bytes(dir.at("wave.fs.bak"), flat_shader);
  for (const std::string& input :
       {dir.at("missing.fs"), dir.at("upper.FS"), dir.at("wave.fs.bak"), null_device,
        std::string("")}) {
    auto run = run_tool({input, dir.at("out")});
    EXPECT_EQ(run.status, 1) << input;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "*ERROR* Input file path " + input +
                           " is neither a directory nor a file with the .fs extension\n");
  }
}

TEST(BatchRun, ConvertsRegularFsFilesInByteOrderAndRefusesTheRest) {
  TempDir in, out;
  write_bytes(in.at("wave.fs"), flat_shader);
  write_bytes(in.at("Zeta.fs"), flat_shader);
  write_bytes(in.at("glow.fs"), flat_shader);
  write_bytes(in.at("glow.vs"), "void main() {}\n");
  write_bytes(in.at("multi.fs"), "/*{\"PASSES\": []}*/\nvoid main() {}\n");
  write_bytes(in.at("index.fs"), flat_shader + "// PASSINDEX\n");
  write_bytes(in.at("both.fs"), "/*{\"PASSES\": [{}]}*/\n");
  write_bytes(in.at("both.vs"), "");
  write_bytes(in.at("notes.txt"), "not a shader");
  write_bytes(in.at("upper.FS"), flat_shader);
  fs::create_directory(in.at("old.fs"));
  write_bytes(in.at("dirvs.fs"), flat_shader);
  fs::create_directory(in.at("dirvs.vs"));  // a folder is no vertex shader

  for (const std::string& input : {in.path().string(), in.path().string() + separator}) {
    auto run = run_tool({input, out.path().string()});
    std::string p = in.path().string() + separator;
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(listing_order(run.out),
              listing_order(processed(p + "Zeta.fs") + processed(p + "dirvs.fs") + processed(p + "wave.fs")));
    EXPECT_EQ(listing_order(run.err),
              listing_order("*ERROR* Cannot Process ISF Shaders With Vertex Shaders (" + p + "both.fs)\n"
                            "*ERROR* Cannot Process ISF Shaders With Vertex Shaders (" + p + "glow.fs)\n"
                            "*ERROR* Cannot Process ISF Shaders With Multiple Passes (" + p + "index.fs)\n"
                            "*ERROR* Cannot Process ISF Shaders With Multiple Passes (" + p + "multi.fs)\n"));
  }
  EXPECT_TRUE(fs::is_regular_file(out.at("wave.frag")));
  EXPECT_TRUE(fs::is_regular_file(out.at("Zeta.frag")));
  EXPECT_TRUE(fs::is_regular_file(out.at("dirvs.frag")));
  for (const char* refused : {"glow.frag", "multi.frag", "index.frag", "both.frag", "old.frag", "upper.frag"})
    EXPECT_FALSE(fs::exists(out.at(refused))) << refused;
}

// Refusals leave the exit status as it is; a shader without code ends the
// run with 1. Neither writes anything, nor touches an earlier output.
TEST(BatchRun, RefusedAndCodelessShadersBetweenConvertedOnes) {
  TempDir in, out;
  write_bytes(in.at("a.fs"), flat_shader);
  write_bytes(in.at("b.fs"), "/*{\"INPUTS\": [{\"NAME\": \"s\", \"TYPE\": \"audio\"}]}*/\nvec4 c = IMG_THIS_PIXEL(s);\n");
  write_bytes(in.at("c.fs"), "/*{\"IMPORTED\": {\"n\": {}}}*/\nvec4 c = IMG_THIS_PIXEL(n);\n");
  write_bytes(in.at("d.fs"), flat_shader);
  write_bytes(out.at("b.frag"), "earlier");
  std::string p = in.path().string() + separator;
  auto run = run_tool({in.path().string(), out.path().string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(listing_order(run.out), listing_order(processed(p + "a.fs") + processed(p + "d.fs")));
  EXPECT_EQ(listing_order(run.err),
            listing_order("*ERROR* Cannot Process ISF Shaders With Audio Inputs (" + p + "b.fs)\n"
                          "*ERROR* Cannot Process ISF Shaders With Imported Images (" + p + "c.fs)\n"));
  EXPECT_EQ(read_bytes(out.at("b.frag")), "earlier");
  EXPECT_FALSE(fs::exists(out.at("c.frag")));

  write_bytes(in.at("e.fs"), "/*{\"DESCRIPTION\": \"x\"}*/\n\n");
  write_bytes(in.at("f.fs"), "void main() {}\n");
  write_bytes(in.at("g.fs"), "/*{} */ void main() {}\n");
  run = run_tool({in.path().string(), out.path().string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(listing_order(run.out), listing_order(processed(p + "a.fs") + processed(p + "d.fs")));
  EXPECT_EQ(listing_order(run.err),
            listing_order("*ERROR* Cannot Process ISF Shaders With Audio Inputs (" + p + "b.fs)\n"
                          "*ERROR* Cannot Process ISF Shaders With Imported Images (" + p + "c.fs)\n"
                          "Error: shader " + p + "e.fs has no code after its ISF header; nothing was written.\n"
                          "Error: shader " + p + "f.fs has no ISF header; nothing was written.\n"
                          "Error: the ISF header of shader " + p + "g.fs never closes; nothing was written.\n"));
  for (const char* none : {"e.frag", "f.frag", "g.frag"}) EXPECT_FALSE(fs::exists(out.at(none))) << none;
}

TEST(BatchRun, EmptyDirectoryPrintsNothing) {
  TempDir in, out;
  write_bytes(in.at("readme.txt"), "");
  auto run = run_tool({in.path().string(), out.path().string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
}

TEST(BatchRun, FatalConverterErrorEndsTheRunAtOnce) {
  TempDir in, out;
  write_bytes(in.at("-first.fs"), flat_shader);
  write_bytes(in.at(".fs"), flat_shader);  // no base name
  write_bytes(in.at("later.fs"), flat_shader);
  auto run = run_tool({in.path().string(), out.path().string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, processed(in.at("-first.fs")));
  EXPECT_EQ(run.err, "Error: input filename could not be determined.\n");
  EXPECT_TRUE(fs::exists(out.at("-first.frag")));
  EXPECT_FALSE(fs::exists(out.at("later.frag")));
}

TEST(BatchRun, OutputIntoTheInputFolderPicksUpNothingNew) {
  TempDir dir;
  write_bytes(dir.at("a.fs"), flat_shader);
  write_bytes(dir.at("b.fs"), flat_shader);
  auto run = run_tool({dir.path().string(), dir.path().string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, processed(dir.at("a.fs")) + processed(dir.at("b.fs")));
  EXPECT_TRUE(fs::exists(dir.at("a.frag")));
  EXPECT_TRUE(fs::exists(dir.at("b.frag")));
}

TEST(BatchRun, UnwritableOutputIsReportedAndTheBatchGoesOn) {
  TempDir in, out;
  write_bytes(in.at("a.fs"), flat_shader);
  write_bytes(in.at("b.fs"), flat_shader);
  fs::create_directory(out.at("a.frag"));  // the output's place is taken
  auto run = run_tool({in.path().string(), out.path().string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, processed(in.at("b.fs")));
  EXPECT_EQ(run.err, "Error: could not write output file " + out.at("a.frag") + ".\n");
  EXPECT_TRUE(fs::is_directory(out.at("a.frag")));
  EXPECT_TRUE(fs::is_regular_file(out.at("b.frag")));
}

TEST(BatchRun, FullDiskLeavesNoPartialFile) {
#ifdef _WIN32
  GTEST_SKIP() << "no file size limit for a process on Windows";
#endif
  TempDir in, out;
  std::string body(64 * 1024, ' ');
  write_bytes(in.at("big.fs"), flat_shader + "//" + body + "\n");
  write_bytes(in.at("small.fs"), flat_shader);
  test_support::RunOptions limited;
  limited.file_size_limit = 16 * 1024;
  auto run = run_tool({in.path().string(), out.path().string()}, limited);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, processed(in.at("small.fs")));
  EXPECT_EQ(run.err, "Error: could not write output file " + out.at("big.frag") + ".\n");
  EXPECT_FALSE(fs::exists(out.at("big.frag")));
  EXPECT_TRUE(fs::exists(out.at("small.frag")));
}

TEST(OutputNaming, EachOutputPathRule) {
  TempDir dir;
  fs::create_directory(dir.at("fx"));
  fs::create_directory(dir.at("out"));
  std::string shader = (dir.path() / "fx" / "wave.old.fs").string();
  write_bytes(shader, flat_shader);
  write_bytes(dir.at("existing.txt"), "old contents");

  struct Case {
    std::string output_path;
    std::string expected_file;
  } cases[] = {
      {"", dir.at("fx/wave.old.frag")},                       // beside the shader
      {dir.at("out"), dir.at("out/wave.old.frag")},           // existing directory
      {dir.at("out") + "/", dir.at("out/wave.old.frag")},     // no second separator
      {dir.at("existing.txt"), dir.at("existing.txt")},       // existing file: overwritten
      {dir.at("out/new_"), dir.at("out/new_wave.old.frag")},  // prefix
      {dir.at("out/result.frag"), dir.at("out/result.fragwave.old.frag")},
      {dir.at("out/sub"), dir.at("out/subwave.old.frag")},
  };
  for (const Case& c : cases) {
    auto run = run_tool({shader, c.output_path, "extra one", ""});
    EXPECT_EQ(run.status, 0) << c.output_path;
    EXPECT_EQ(run.out, processed(shader));
    EXPECT_EQ(run.err, "Warning: extra argument extra one is ignored.\n"
                       "Warning: extra argument  is ignored.\n");
    ASSERT_TRUE(fs::is_regular_file(c.expected_file)) << c.output_path;
    EXPECT_EQ(read_bytes(c.expected_file).find("// ORVANE_PLUGIN_DESC(\"flat\")" + line_end), 0u);
  }
  EXPECT_FALSE(fs::exists(dir.at("out/sub")));
}

TEST(OutputNaming, BareShaderNameWritesIntoTheWorkingDirectory) {
  TempDir dir;
  write_bytes(dir.at("wave.fs"), flat_shader);
  test_support::RunOptions here;
  here.working_directory = dir.path().string();
  auto run = run_tool({"wave.fs", ""}, here);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, processed("wave.fs"));
  EXPECT_TRUE(fs::is_regular_file(dir.at("wave.frag")));
}

TEST(OutputNaming, AShaderNeverOverwritesItself) {
  TempDir dir;
  std::string shader = dir.at("wave.fs");
  write_bytes(shader, flat_shader);
  fs::create_hard_link(shader, dir.at("hard.fs"));
  std::vector<std::string> targets{shader, dir.at("hard.fs")};
#ifndef _WIN32
  // Symbolic links need extra rights on Windows.
  fs::create_symlink(shader, dir.at("soft.frag"));
  targets.push_back(dir.at("soft.frag"));
#endif
  for (const std::string& target : targets) {
    auto run = run_tool({shader, target});
    EXPECT_EQ(run.status, 1) << target;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Error: output file " + target + " is the input shader.\n");
    EXPECT_EQ(read_bytes(shader), flat_shader);
  }
}

TEST(OutputNaming, UnusualNamesArePassedThroughByteForByte) {
  TempDir dir;
  std::string name = "my wave \xC3\xA9 100%s.fs";
  write_bytes(dir.at(name), flat_shader);
  auto run = run_tool({dir.at(name), ""});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, processed(dir.at(name)));
  // Read through the same byte-string file functions as the tool's.
  EXPECT_EQ(read_bytes(dir.at("my wave \xC3\xA9 100%s.frag")).find("// ORVANE_PLUGIN_DESC"), 0u);
}

TEST(OutputNaming, ReadOnlyDestinationIsAWriteFailure) {
  TempDir dir;
  std::string shader = dir.at("wave.fs");
  write_bytes(shader, flat_shader);
  auto run = run_tool({shader, "/proc/isf2orvy-no-such-place/"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "Error: could not write output file /proc/isf2orvy-no-such-place/wave.frag.\n");
}

}  // namespace
