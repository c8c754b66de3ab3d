// The tool's standard streams end to end: names with control characters on a
// terminal and elsewhere, and a standard output that cannot be written.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/e2e_fixtures.h"
#include "support/files.h"
#include "support/process.h"

namespace fs = std::filesystem;
using test_support::flat_shader;
using test_support::processed;
using test_support::run_tool;
using test_support::RunOptions;
using test_support::Sink;
using test_support::TempDir;
using test_support::write_bytes;

namespace {

const std::string stdout_unwritable = "Error: could not write to standard output.\n";

#ifndef _WIN32
TEST(StandardStreams, ControlCharactersInPathsShowAsQuestionMarksOnATerminalOnly) {
  TempDir in, out;
  const std::string folder = in.path().string() + "/";
  write_bytes(folder + "x\x1b]0;pwned\x07\x1b[2J.fs", flat_shader);
  write_bytes(folder + "line\nfeed.fs", flat_shader);
  write_bytes(folder + "line\nfeed.vs", "");
  const std::string out_raw = processed(folder + "x\x1b]0;pwned\x07\x1b[2J.fs");
  const std::string out_shown = processed(folder + "x?]0;pwned??[2J.fs");
  const std::string refusal = "*ERROR* Cannot Process ISF Shaders With Vertex Shaders (";
  const std::string err_raw = refusal + folder + "line\nfeed.fs)\n";
  const std::string err_shown = refusal + folder + "line?feed.fs)\n";
  struct Case {
    Sink out, err;
    std::string expected_out, expected_err;
  } cases[] = {
      {Sink::file, Sink::file, out_raw, err_raw},
      {Sink::terminal, Sink::file, out_shown, err_raw},
      {Sink::file, Sink::terminal, out_raw, err_shown},
  };
  for (const Case& c : cases) {
    RunOptions options;
    options.out = c.out;
    options.err = c.err;
    auto run = run_tool({in.path().string(), out.path().string()}, options);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, c.expected_out);
    EXPECT_EQ(run.err, c.expected_err);
  }
}
#endif

// The run goes on; the message comes after the last shader, and every output
// is written.
TEST(StandardStreams, AFailedWriteToStandardOutputEndsTheRunWithStatus1) {
  std::vector<Sink> sinks{Sink::full_device};
#ifndef _WIN32
  sinks.push_back(Sink::closed_pipe);
#endif
  for (Sink sink : sinks) {
    TempDir in, out;
    write_bytes(in.at("a.fs"), flat_shader);
    write_bytes(in.at("b.fs"), flat_shader);
    RunOptions options;
    options.out = sink;
    auto run = run_tool({in.path().string(), out.path().string()}, options);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, stdout_unwritable);
    EXPECT_TRUE(fs::exists(out.at("a.frag")));
    EXPECT_TRUE(fs::exists(out.at("b.frag")));
  }
}

}  // namespace
