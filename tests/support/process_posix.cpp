// POSIX process runner for end-to-end tests: fork, redirect both streams to
// files (no pipe can fill up), exec, wait.
#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <utility>
#include <stdexcept>

#include "support/files.h"
#include "support/process.h"

namespace test_support {

std::vector<std::string> tool_command() {
  std::vector<std::string> command;
  if (const char* wrapper = std::getenv("ISF2ORVY_TEST_WRAPPER")) {
    std::istringstream words(wrapper);
    for (std::string word; words >> word;) command.push_back(word);
  }
  command.push_back(ISF2ORVY_BINARY);
  return command;
}

ToolRun run_tool(const std::vector<std::string>& arguments, const RunOptions& options) {
  TempDir capture;
  std::string out_path = capture.at("stdout");
  std::string err_path = capture.at("stderr");

  std::vector<std::string> argv_strings = tool_command();
  argv_strings.insert(argv_strings.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& s : argv_strings) argv.push_back(s.data());
  argv.push_back(nullptr);

  pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    int out = ::open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int err = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0) ::_exit(126);
    ::dup2(out, 1);
    ::dup2(err, 2);
    int null_in = ::open("/dev/null", O_RDONLY);
    if (null_in >= 0) ::dup2(null_in, 0);
    if (!options.working_directory.empty() && ::chdir(options.working_directory.c_str()) != 0)
      ::_exit(126);
    // The tool meets a file-size limit with SIGXFSZ in its default state.
    ::signal(SIGXFSZ, SIG_DFL);
    for (auto [resource, bytes] : {std::pair{RLIMIT_FSIZE, options.file_size_limit},
                                   std::pair{RLIMIT_AS, options.address_space_limit}}) {
      struct rlimit limit {};
      limit.rlim_cur = limit.rlim_max = bytes;
      if (bytes != 0) ::setrlimit(resource, &limit);
    }
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  int wait_status = 0;
  while (::waitpid(pid, &wait_status, 0) < 0) {
  }
  ToolRun run;
  run.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
  run.out = read_bytes(out_path);
  run.err = read_bytes(err_path);
  return run;
}

}  // namespace test_support
#endif
