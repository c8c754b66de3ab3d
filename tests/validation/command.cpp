// The shell runs the command with both streams sent to a scratch file, which
// is read back once the command has ended.
#include "command.h"

#include <sys/wait.h>

#include <cstdlib>

#include "support/files.h"

namespace validation {

namespace {

std::string shell_quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

CommandRun run_command(const std::vector<std::string>& arguments) {
  test_support::TempDir scratch;
  std::string capture = scratch.at("output");
  std::string line;
  for (const std::string& argument : arguments) line += shell_quoted(argument) + " ";
  line += "</dev/null >" + shell_quoted(capture) + " 2>&1";
  int raw = std::system(line.c_str());
  CommandRun run;
  run.status = raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.output = test_support::read_bytes(capture);
  return run;
}

}  // namespace validation
