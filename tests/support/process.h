// Runs the built isf2orvy binary and captures what it did.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace test_support {

struct ToolRun {
  int status = -1;  // exit status; -1 when the process did not exit normally
  std::string out;  // standard output
  std::string err;  // standard error
};

// Where standard output or standard error of the program goes.
enum class Sink {
  file,         // a scratch file, captured
  terminal,     // a pseudo-terminal in raw mode, captured (POSIX only; keep the output small)
  full_device,  // a device on which every write fails as on a full disk
  closed_pipe,  // a pipe whose reader has gone (POSIX only)
};

struct RunOptions {
  std::string working_directory;          // empty: the test's own
  std::uint64_t file_size_limit = 0;      // bytes; 0: none (POSIX only)
  std::uint64_t address_space_limit = 0;  // bytes; 0: none (POSIX only)
  Sink out = Sink::file;
  Sink err = Sink::file;
};

// Runs the tool with the arguments (without the program name).
ToolRun run_tool(const std::vector<std::string>& arguments, const RunOptions& options = {});

// Runs any program so: `command` holds the program and its arguments.
ToolRun run_program(const std::vector<std::string>& command, const RunOptions& options = {});

#ifndef _WIN32
// The command that starts the tool: the built binary, behind the words
// (split at spaces) of the environment variable ISF2ORVY_TEST_WRAPPER when it
// is set, such as a memory checker's command line.
std::vector<std::string> tool_command();
#endif

}  // namespace test_support
