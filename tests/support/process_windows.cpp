// Windows process runner for end-to-end tests: CreateProcess with both
// streams redirected to files (no pipe can fill up), then wait. The captures
// are read in text mode, so the tool's CR LF line ends arrive as line feeds.
#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "support/files.h"
#include "support/process.h"

namespace test_support {
namespace {

// Quotes one argument so that the C runtime's command-line splitter gives it
// back unchanged: backslashes are literal except before a double quote.
std::string quote_argument(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos)
    return argument;
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote escaped.
    quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  // Before the closing quote every backslash is doubled.
  quoted.append(backslashes * 2, '\\');
  quoted += '"';
  return quoted;
}

HANDLE open_inheritable(const std::string& path, bool for_writing) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return ::CreateFileA(path.c_str(), for_writing ? GENERIC_WRITE : GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       for_writing ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

std::string read_text(const std::string& path) {
  std::ifstream file(path);
  if (!file) throw std::runtime_error("cannot read " + path);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// Under Wine, the build machine's file system is drive Z:, and its full
// device a file on it.
std::string sink_path(Sink sink, const std::string& capture_path) {
  if (sink == Sink::file) return capture_path;
  if (sink == Sink::full_device) return "Z:\\dev\\full";
  throw std::logic_error("terminals and pipes are not available to the tests on Windows");
}

}  // namespace

ToolRun run_tool(const std::vector<std::string>& arguments, const RunOptions& options) {
  std::vector<std::string> command{ISF2ORVY_BINARY};
  command.insert(command.end(), arguments.begin(), arguments.end());
  return run_program(command, options);
}

ToolRun run_program(const std::vector<std::string>& command, const RunOptions& options) {
  if (options.file_size_limit != 0 || options.address_space_limit != 0)
    throw std::logic_error("resource limits are not available on Windows");
  TempDir capture;
  std::string out_path = sink_path(options.out, capture.at("stdout"));
  std::string err_path = sink_path(options.err, capture.at("stderr"));

  std::string command_line;
  for (const std::string& argument : command)
    command_line += (command_line.empty() ? "" : " ") + quote_argument(argument);

  HANDLE out = open_inheritable(out_path, true);
  HANDLE err = open_inheritable(err_path, true);
  HANDLE in = open_inheritable("NUL", false);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  const char* directory =
      options.working_directory.empty() ? nullptr : options.working_directory.c_str();
  BOOL started = out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE &&
                 ::CreateProcessA(nullptr, command_line.data(), nullptr, nullptr, TRUE, 0,
                                  nullptr, directory, &startup, &process);
  for (HANDLE h : {in, out, err})
    if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
  if (!started) throw std::runtime_error("cannot start " + command_line);

  ::WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exit_code = 0;
  ::GetExitCodeProcess(process.hProcess, &exit_code);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);

  ToolRun run;
  // Exit codes from 0xC0000000 up are exceptions that ended the process.
  run.status = exit_code >= 0xC0000000u ? -1 : static_cast<int>(exit_code);
  if (options.out == Sink::file) run.out = read_text(out_path);
  if (options.err == Sink::file) run.err = read_text(err_path);
  return run;
}

}  // namespace test_support
#endif
