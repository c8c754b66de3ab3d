// POSIX process runner for end-to-end tests: fork, send both streams where
// the options say (a file, so no pipe can fill up; a pseudo-terminal; a full
// device; a pipe without reader), exec, wait.
#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "support/files.h"
#include "support/process.h"

namespace test_support {
namespace {

// One standard stream of the child: the descriptor it gets, and where the
// parent finds what was written.
struct Stream {
  int child_fd = -1;
  int terminal = -1;  // the pseudo-terminal's master side, read by the parent
  std::string capture_path;
};

int checked(int fd) {
  if (fd < 0) throw std::runtime_error("cannot set up a stream for the tool");
  return fd;
}

Stream open_terminal() {
  Stream stream;
  stream.terminal = checked(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
  if (::grantpt(stream.terminal) != 0 || ::unlockpt(stream.terminal) != 0)
    throw std::runtime_error("cannot set up a pseudo-terminal");
  stream.child_fd = checked(::open(::ptsname(stream.terminal), O_RDWR | O_NOCTTY | O_CLOEXEC));
  // Raw: the bytes arrive as written, no line feed turned into CR LF.
  struct termios mode {};
  ::tcgetattr(stream.child_fd, &mode);
  ::cfmakeraw(&mode);
  ::tcsetattr(stream.child_fd, TCSANOW, &mode);
  return stream;
}

Stream open_stream(Sink sink, const std::string& capture_path) {
  Stream stream;
  switch (sink) {
    case Sink::file:
      stream.capture_path = capture_path;
      stream.child_fd =
          checked(::open(capture_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
      break;
    case Sink::terminal:
      return open_terminal();
    case Sink::full_device:
      stream.child_fd = checked(::open("/dev/full", O_WRONLY | O_CLOEXEC));
      break;
    case Sink::closed_pipe: {
      int ends[2];
      checked(::pipe2(ends, O_CLOEXEC));
      ::close(ends[0]);
      stream.child_fd = ends[1];
      break;
    }
  }
  return stream;
}

// Reads a terminal while the child runs, to the end that comes when the child
// has closed its side.
std::string drain_terminal(Stream& stream) {
  std::string text;
  if (stream.terminal < 0) return text;
  char buffer[4096];
  for (;;) {
    ssize_t got = ::read(stream.terminal, buffer, sizeof buffer);
    if (got > 0)
      text.append(buffer, static_cast<std::size_t>(got));
    else if (got == 0 || errno != EINTR)
      break;
  }
  ::close(stream.terminal);
  return text;
}

}  // namespace

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
  std::vector<std::string> command = tool_command();
  command.insert(command.end(), arguments.begin(), arguments.end());
  return run_program(command, options);
}

ToolRun run_program(const std::vector<std::string>& command, const RunOptions& options) {
  TempDir capture;
  Stream out = open_stream(options.out, capture.at("stdout"));
  Stream err = open_stream(options.err, capture.at("stderr"));

  std::vector<std::string> argv_strings = command;
  std::vector<char*> argv;
  for (std::string& s : argv_strings) argv.push_back(s.data());
  argv.push_back(nullptr);

  pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    ::dup2(out.child_fd, 1);
    ::dup2(err.child_fd, 2);
    int null_in = ::open("/dev/null", O_RDONLY);
    if (null_in >= 0) ::dup2(null_in, 0);
    if (!options.working_directory.empty() && ::chdir(options.working_directory.c_str()) != 0)
      ::_exit(126);
    // The tool meets a file-size limit with SIGXFSZ, and a pipe without
    // reader with SIGPIPE, in their default states.
    ::signal(SIGXFSZ, SIG_DFL);
    ::signal(SIGPIPE, SIG_DFL);
    for (auto [resource, bytes] : {std::pair{RLIMIT_FSIZE, options.file_size_limit},
                                   std::pair{RLIMIT_AS, options.address_space_limit}}) {
      struct rlimit limit {};
      limit.rlim_cur = limit.rlim_max = bytes;
      if (bytes != 0) ::setrlimit(resource, &limit);
    }
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(out.child_fd);
  ::close(err.child_fd);
  ToolRun run;
  run.out = drain_terminal(out);
  run.err = drain_terminal(err);
  int wait_status = 0;
  while (::waitpid(pid, &wait_status, 0) < 0) {
  }
  run.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
  if (!out.capture_path.empty()) run.out = read_bytes(out.capture_path);
  if (!err.capture_path.empty()) run.err = read_bytes(err.capture_path);
  return run;
}

}  // namespace test_support
#endif
