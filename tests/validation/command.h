// Runs an external program (the GLSL reference compiler, the preview
// renderer) through the shell and captures its status and its output.
#pragma once

#include <string>
#include <vector>

namespace validation {

struct CommandRun {
  int status = -1;     // exit status; -1 when the program did not exit normally
  std::string output;  // standard output and standard error together
};

// `arguments[0]` is the program. Every argument is quoted for the shell.
CommandRun run_command(const std::vector<std::string>& arguments);

}  // namespace validation
