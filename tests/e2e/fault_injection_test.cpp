// Faults met by the running tool: a full disk or a file-size limit, outputs
// whose place is taken or that are ISF shaders, read errors, folders and
// shaders that disappear in the middle of a batch, symbolic links and loops
// of them, a kill while an output is written, two runs writing one output,
// and running out of memory. Each run must print its message, end with its
// status, and leave no partial file and no other file changed.
#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <thread>
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
using test_support::ToolRun;
using test_support::write_bytes;

namespace {

std::string not_written(const std::string& path) {
  return "Error: could not write output file " + path + ".\n";
}

// Everything under a folder: kind, bytes, link target and modification time
// of each entry, so that any change to a file the run should not touch shows.
using Snapshot = std::map<std::string, std::string>;

Snapshot snapshot(const fs::path& root) {
  Snapshot entries;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
       ++it) {
    std::string name = it->path().lexically_relative(root).string();
    std::error_code error;
    if (it->is_symlink()) {
      entries[name] = "link to " + fs::read_symlink(it->path()).string();
    } else if (it->is_directory()) {
      entries[name] = "folder";
    } else {
      auto time = fs::last_write_time(it->path(), error).time_since_epoch().count();
      entries[name] = "file " + std::to_string(time) + " " + read_bytes(it->path().string());
    }
  }
  return entries;
}

std::vector<std::string> names_in(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Starts the tool with its standard output on `out` and its standard error
// in the file `err_path`, and returns its process id.
pid_t start_tool(const std::vector<std::string>& arguments, int out, const std::string& err_path) {
  std::vector<std::string> words = test_support::tool_command();
  words.insert(words.end(), arguments.begin(), arguments.end());
  pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    int err = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int null_in = ::open("/dev/null", O_RDONLY);
    if (err < 0 || null_in < 0) ::_exit(126);
    ::dup2(out, 1);
    ::dup2(err, 2);
    ::dup2(null_in, 0);
    // A shell may start background jobs with SIGINT ignored.
    for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) ::signal(signal_number, SIG_DFL);
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  return pid;
}

// The folders "in", holding the flat shaders a.fs, b.fs and c.fs, and "out".
void three_flat_shaders(const TempDir& dir) {
  fs::create_directory(dir.at("in"));
  fs::create_directory(dir.at("out"));
  for (const char* name : {"a.fs", "b.fs", "c.fs"}) write_bytes(dir.at("in/") + name, flat_shader);
}

// Runs the tool with its standard output on a pipe that is already full, so
// that the first message it prints there blocks it until the test lets it
// go on. This stops a batch right after the success line of its first
// shader is due, before the next shader is looked at.
class HeldRun {
 public:
  explicit HeldRun(const std::vector<std::string>& arguments) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    read_end_ = fds[0];
    fill(fds[1]);
    pid_ = start_tool(arguments, fds[1], capture_.at("stderr"));
    ::close(fds[1]);
  }

  ~HeldRun() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (read_end_ >= 0) ::close(read_end_);
  }

  // True once the tool sits in a write to its standard output; false when it
  // ended first or did not get there within a generous time.
  bool wait_until_held() {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    const std::string proc = "/proc/" + std::to_string(pid_) + "/syscall";
    while (std::chrono::steady_clock::now() < deadline) {
      std::ifstream file(proc);
      long number = -1;
      std::string fd;
      if (file >> number >> fd && number == SYS_write && fd == "0x1") return true;
      if (::waitpid(pid_, &status_, WNOHANG) == pid_) {
        pid_ = 0;
        return false;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }

  pid_t pid() const { return pid_; }

  // Lets the tool go on, and gives what it did once it has ended.
  ToolRun finish() {
    std::string out;
    char buffer[1 << 16];
    for (ssize_t n; (n = ::read(read_end_, buffer, sizeof buffer)) != 0;) {
      if (n > 0) out.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(read_end_);
    read_end_ = -1;
    if (pid_ > 0) {
      while (::waitpid(pid_, &status_, 0) < 0) {
      }
      pid_ = 0;
    }
    ToolRun run;
    run.status = WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
    run.out = out.substr(filler_);
    run.err = read_bytes(capture_.at("stderr"));
    return run;
  }

 private:
  void fill(int write_end) {
    int flags = ::fcntl(write_end, F_GETFL);
    ::fcntl(write_end, F_SETFL, flags | O_NONBLOCK);
    const std::string block(4096, '.');
    for (std::size_t size : {block.size(), std::size_t{1}}) {
      while (::write(write_end, block.data(), size) == static_cast<ssize_t>(size)) filler_ += size;
    }
    // The tool must block on the full pipe, not fail on it.
    ::fcntl(write_end, F_SETFL, flags);
  }

  TempDir capture_;
  int read_end_ = -1;
  pid_t pid_ = 0;
  int status_ = 0;
  std::size_t filler_ = 0;
};

// Starts the tool and returns at once, for tests that act while it runs.
class StartedRun {
 public:
  explicit StartedRun(const std::vector<std::string>& arguments) {
    int out = ::open(capture_.at("stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (out < 0) throw std::runtime_error("cannot capture standard output");
    pid_ = start_tool(arguments, out, capture_.at("stderr"));
    ::close(out);
  }

  ~StartedRun() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }

  pid_t pid() const { return pid_; }

  // True once the tool holds a file open under `folder`; false when it ended
  // first.
  bool wait_for_file_open_in(const std::string& folder) {
    const std::string fds = "/proc/" + std::to_string(pid_) + "/fd";
    for (;;) {
      std::error_code error;
      for (const auto& entry : fs::directory_iterator(fds, error)) {
        fs::path target = fs::read_symlink(entry.path(), error);
        if (!error && target.string().rfind(folder, 0) == 0) return true;
      }
      if (::waitpid(pid_, &status_, WNOHANG) == pid_) {
        pid_ = 0;
        return false;
      }
    }
  }

  // The exit status, or 128 and the number of the signal that ended the tool.
  int wait() {
    if (pid_ > 0) {
      while (::waitpid(pid_, &status_, 0) < 0) {
      }
      pid_ = 0;
    }
    return WIFSIGNALED(status_) ? 128 + WTERMSIG(status_) : WEXITSTATUS(status_);
  }

  std::string out() const { return read_bytes(capture_.at("stdout")); }

 private:
  TempDir capture_;
  pid_t pid_ = 0;
  int status_ = 0;
};

// A shader whose output takes a while to write: about `megabytes` of body.
std::string large_shader(const std::string& description, std::size_t megabytes) {
  std::string shader = "/*{\"DESCRIPTION\": \"" + description + "\"}*/\nvoid main() {}\n";
  const std::string line = "// " + std::string(125, 'x') + "\n";
  for (std::size_t i = 0; i < megabytes * 8192; ++i) shader += line;
  return shader;
}

// The tool under a memory checker is too slow for runs that act while it
// writes; and a memory checker or AddressSanitizer needs more address space
// than any limit that a test could set.
bool under_a_memory_checker() { return std::getenv("ISF2ORVY_TEST_WRAPPER") != nullptr; }

bool address_space_limit_unusable() {
#if defined(__SANITIZE_ADDRESS__)
  return true;
#else
  return under_a_memory_checker();
#endif
}

TEST(FullDisk, FileModeReportsTheFileAndChangesNothingElse) {
  TempDir dir;
  fs::create_directory(dir.at("out"));
  write_bytes(dir.at("out/notes.txt"), "keep me");
  write_bytes(dir.at("wave.fs"), flat_shader + "//" + std::string(64 * 1024, 'x') + "\n");
  Snapshot before = snapshot(dir.path());

  test_support::RunOptions limited;
  limited.file_size_limit = 4096;
  auto run = run_tool({dir.at("wave.fs"), dir.at("out")}, limited);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, not_written(dir.at("out/wave.frag")));
  EXPECT_EQ(snapshot(dir.path()), before);
}

// An output being replaced stays as it was: a plain file, the file behind a
// link (which stays a link), both names of a hard link; and nothing is left
// in a folder where the tool may not create a file.
TEST(FullDisk, AnOutputBeingReplacedStaysAsItWas) {
  TempDir dir;
  fs::create_directories(dir.at("out/elsewhere"));
  write_bytes(dir.at("wave.fs"), flat_shader + "//" + std::string(64 * 1024, 'x') + "\n");
  write_bytes(dir.at("out/plain.frag"), "the previous output");
  write_bytes(dir.at("out/elsewhere/real.frag"), "the previous output");
  fs::create_symlink("elsewhere/real.frag", dir.at("out/link.frag"));
  write_bytes(dir.at("out/hard.frag"), "the previous output");
  fs::create_hard_link(dir.at("out/hard.frag"), dir.at("out/other-name"));
  std::vector<std::string> targets{"out/plain.frag", "out/link.frag", "out/hard.frag"};
  if (::geteuid() != 0) {  // the superuser may write into a read-only folder
    fs::create_directory(dir.at("locked"));
    write_bytes(dir.at("locked/wave.frag"), "the previous output");
    fs::permissions(dir.at("locked"), fs::perms::owner_read | fs::perms::owner_exec);
    targets.push_back("locked/wave.frag");
  }
  Snapshot before = snapshot(dir.path());

  test_support::RunOptions limited;
  limited.file_size_limit = 4096;
  for (const std::string& target : targets) {
    auto run = run_tool({dir.at("wave.fs"), dir.at(target)}, limited);
    EXPECT_EQ(run.status, 1) << target;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, not_written(dir.at(target)));
  }
  EXPECT_EQ(snapshot(dir.path()), before);
}

// "isf2orvy *.fs" in a folder of shaders, and outputs that lead to a shader
// or name a vertex shader: nothing is overwritten, each is reported.
TEST(ShaderProtection, NoOutputReplacesAnIsfShader) {
  TempDir dir;
  for (const char* name : {"a.fs", "b.fs", "c.fs", "UPPER.VS"}) write_bytes(dir.at(name), name);
  write_bytes(dir.at("a.fs"), flat_shader);
  fs::create_symlink("b.fs", dir.at("link.frag"));
  Snapshot before = snapshot(dir.path());

  auto star = run_tool({dir.at("a.fs"), dir.at("b.fs"), dir.at("c.fs"), ""});
  EXPECT_EQ(star.status, 1);
  EXPECT_EQ(star.out, "");
  EXPECT_EQ(star.err, "Warning: extra argument " + dir.at("c.fs") + " is ignored.\n"
                      "Warning: extra argument  is ignored.\n"
                      "Error: output file " + dir.at("b.fs") + " is an ISF shader; it was not overwritten.\n");
  for (const char* target : {"link.frag", "UPPER.VS"}) {
    auto run = run_tool({dir.at("a.fs"), dir.at(target)});
    EXPECT_EQ(run.status, 1) << target;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Error: output file " + dir.at(target) +
                           " is an ISF shader; it was not overwritten.\n");
  }
  EXPECT_EQ(snapshot(dir.path()), before);
}

// Reading the tool's own memory from address 0 opens and then fails with
// EIO: a read error in the middle of a batch. The shader fails alone and its
// previous output stays.
TEST(ReadError, TheShaderFailsAloneAndItsOutputStays) {
  TempDir dir;
  fs::create_directories(dir.at("in"));
  fs::create_directories(dir.at("out"));
  write_bytes(dir.at("in/a.fs"), flat_shader);
  fs::create_symlink("/proc/self/mem", dir.at("in/b.fs"));
  write_bytes(dir.at("in/c.fs"), flat_shader);
  write_bytes(dir.at("out/b.frag"), "the previous output");
  auto run = run_tool({dir.at("in"), dir.at("out")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, processed(dir.at("in/a.fs")) + processed(dir.at("in/c.fs")));
  EXPECT_EQ(run.err, "Error: could not read shader " + dir.at("in/b.fs") + ".\n");
  EXPECT_EQ(read_bytes(dir.at("out/b.frag")), "the previous output");
  EXPECT_EQ(names_in(dir.at("out")), (std::vector<std::string>{"a.frag", "b.frag", "c.frag"}));
}

TEST(OutputInTheWay, AFolderWithContentsAtTheOutputFilePathIsLeftAsItWas) {
  TempDir dir;
  write_bytes(dir.at("wave.fs"), flat_shader);
  fs::create_directories(dir.at("out/wave.frag/inner"));
  write_bytes(dir.at("out/wave.frag/inner/old.txt"), "old");
  Snapshot before = snapshot(dir.path());
  auto run = run_tool({dir.at("wave.fs"), dir.at("out")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, not_written(dir.at("out/wave.frag")));
  EXPECT_EQ(snapshot(dir.path()), before);
}

// The output folder goes away after the first shader is written: the next
// shader's write fails, nothing is created elsewhere, the batch goes on.
TEST(ChangesDuringABatch, OutputFolderRemovedBetweenShaders) {
  for (const std::string& trailing : {std::string(), std::string("/")}) {
    TempDir dir;
    three_flat_shaders(dir);
    Snapshot inputs = snapshot(dir.at("in"));

    HeldRun held({dir.at("in"), dir.at("out") + trailing});
    ASSERT_TRUE(held.wait_until_held());
    ASSERT_TRUE(fs::is_regular_file(dir.at("out/a.frag")));
    fs::remove_all(dir.at("out"));
    ToolRun run = held.finish();

    EXPECT_EQ(run.status, 1) << trailing;
    EXPECT_EQ(run.out, processed(dir.at("in/a.fs")));
    EXPECT_EQ(run.err, not_written(dir.at("out/b.frag")) + not_written(dir.at("out/c.frag")));
    EXPECT_EQ(snapshot(dir.at("in")), inputs);
    // Only the input folder is left: no file beside it, no folder made anew.
    EXPECT_EQ(names_in(dir.path()), std::vector<std::string>{"in"});
  }
}

// A listed shader disappears (or a folder takes its place) before its turn:
// the run ends with the open error and converts nothing after it.
TEST(ChangesDuringABatch, ShaderGoneBeforeItsTurn) {
  for (bool folder_instead : {false, true}) {
    TempDir dir;
    three_flat_shaders(dir);

    HeldRun held({dir.at("in"), dir.at("out")});
    ASSERT_TRUE(held.wait_until_held());
    fs::remove(dir.at("in/b.fs"));
    if (folder_instead) fs::create_directory(dir.at("in/b.fs"));
    ToolRun run = held.finish();

    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, processed(dir.at("in/a.fs")));
    EXPECT_EQ(run.err, "Error: could not open shader " + dir.at("in/b.fs") + ".\n");
    EXPECT_EQ(names_in(dir.at("out")), std::vector<std::string>{"a.frag"});
    EXPECT_EQ(read_bytes(dir.at("in/c.fs")), flat_shader);
  }
}

// Shaders are read ahead of their turn; one changed in place (same size) or
// replaced after that is converted as it is at its turn.
TEST(ChangesDuringABatch, ShaderChangedBeforeItsTurnIsReadAgain) {
  TempDir dir;
  three_flat_shaders(dir);

  HeldRun held({dir.at("in"), dir.at("out")});
  ASSERT_TRUE(held.wait_until_held());
  std::string changed = flat_shader;
  changed.replace(changed.find("flat"), 4, "FLAT");
  write_bytes(dir.at("in/b.fs"), changed);
  write_bytes(dir.at("c.new"), "/*{\"PASSES\": [{}]}*/\n");
  fs::rename(dir.at("c.new"), dir.at("in/c.fs"));
  ToolRun run = held.finish();

  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, processed(dir.at("in/a.fs")) + processed(dir.at("in/b.fs")));
  EXPECT_EQ(run.err,
            "*ERROR* Cannot Process ISF Shaders With Multiple Passes (" + dir.at("in/c.fs") + ")\n");
  EXPECT_NE(read_bytes(dir.at("out/b.frag")).find("FLAT"), std::string::npos);
  // Nothing written ahead for the old texts is left.
  EXPECT_EQ(names_in(dir.at("out")), (std::vector<std::string>{"a.frag", "b.frag"}));
}

TEST(SymbolicLinks, ALinkedShaderConvertsLikeItsTargetAndTheTargetStaysAlone) {
  TempDir dir;
  fs::create_directories(dir.at("elsewhere"));
  fs::create_directories(dir.at("in"));
  fs::create_directories(dir.at("out"));
  fs::create_directories(dir.at("direct"));
  write_bytes(dir.at("elsewhere/real.fs"), flat_shader);
  fs::create_symlink("../elsewhere/real.fs", dir.at("in/linked.fs"));
  fs::create_symlink("../elsewhere/missing.fs", dir.at("in/dangling.fs"));
  fs::create_symlink("../elsewhere", dir.at("in/folder.fs"));
  Snapshot before = snapshot(dir.path());

  auto reference = run_tool({dir.at("elsewhere/real.fs"), dir.at("direct")});
  ASSERT_EQ(reference.status, 0);
  auto run = run_tool({dir.at("in"), dir.at("out")});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, processed(dir.at("in/linked.fs")));
  EXPECT_EQ(run.err, "");
  ASSERT_TRUE(fs::is_regular_file(fs::symlink_status(dir.at("out/linked.frag"))));
  EXPECT_EQ(read_bytes(dir.at("out/linked.frag")), read_bytes(dir.at("direct/real.frag")));

  // File mode with no output path: the output lands beside the link.
  auto beside = run_tool({dir.at("in/linked.fs"), ""});
  EXPECT_EQ(beside.status, 0);
  EXPECT_EQ(beside.out, processed(dir.at("in/linked.fs")));
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir.at("in/linked.frag"))));

  Snapshot after = snapshot(dir.path());
  for (const char* made : {"direct/real.frag", "out/linked.frag", "in/linked.frag"}) after.erase(made);
  EXPECT_EQ(after, before);
}

TEST(SymbolicLinks, LoopsAreNeitherShadersNorCompanionsNorOutputFolders) {
  TempDir dir;
  fs::create_directories(dir.at("in"));
  fs::create_directories(dir.at("out"));
  fs::create_symlink("loop_b.fs", dir.at("in/loop_a.fs"));
  fs::create_symlink("loop_a.fs", dir.at("in/loop_b.fs"));
  fs::create_symlink("self.fs", dir.at("in/self.fs"));
  fs::create_symlink(".", dir.at("in/here.fs"));  // the folder itself, named like a shader
  write_bytes(dir.at("in/wave.fs"), flat_shader);
  fs::create_symlink("wave.vs", dir.at("in/wave.vs"));  // no companion: it never opens
  fs::create_symlink("out_loop", dir.at("out_loop"));
  Snapshot before = snapshot(dir.path());

  auto batch = run_tool({dir.at("in"), dir.at("out")});
  EXPECT_EQ(batch.status, 0);
  EXPECT_EQ(batch.out, processed(dir.at("in/wave.fs")));
  EXPECT_EQ(batch.err, "");
  ASSERT_TRUE(fs::is_regular_file(dir.at("out/wave.frag")));

  auto looped_input = run_tool({dir.at("in/self.fs"), dir.at("out")});
  EXPECT_EQ(looped_input.status, 1);
  EXPECT_EQ(looped_input.err, "*ERROR* Input file path " + dir.at("in/self.fs") +
                                  " is neither a directory nor a file with the .fs extension\n");

  auto looped_output = run_tool({dir.at("in"), dir.at("out_loop")});
  EXPECT_EQ(looped_output.status, 1);
  EXPECT_EQ(looped_output.out, "");
  EXPECT_EQ(looped_output.err, "Error: Output file path " + dir.at("out_loop") +
                                   " must be a directory when the input file path is a directory.\n");

  Snapshot after = snapshot(dir.path());
  after.erase("out/wave.frag");
  EXPECT_EQ(after, before);
}

// Ended by a signal while the output is written: the output name holds the
// previous file or the new text, whole. Only SIGKILL, which cannot be
// caught, may leave the temporary file behind.
TEST(Interrupted, TheOutputIsNeverLeftHalfWritten) {
  if (under_a_memory_checker()) GTEST_SKIP() << "depends on timing";
  TempDir dir;
  fs::create_directories(dir.at("out"));
  fs::create_directories(dir.at("reference"));
  write_bytes(dir.at("wave.fs"), large_shader("wave", 32));
  ASSERT_EQ(run_tool({dir.at("wave.fs"), dir.at("reference")}).status, 0);
  const std::string new_text = read_bytes(dir.at("reference/wave.frag"));
  const std::string previous = "the previous output";

  for (int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGKILL}) {
    // Should the tool finish before the signal lands (a busy machine), the
    // round is run again.
    int status = 0;
    for (int round = 0; round < 3 && status == 0; ++round) {
      write_bytes(dir.at("out/wave.frag"), previous);
      StartedRun run({dir.at("wave.fs"), dir.at("out")});
      ASSERT_TRUE(run.wait_for_file_open_in(dir.at("out"))) << signal_number;
      ::kill(run.pid(), signal_number);
      status = run.wait();
    }
    EXPECT_EQ(status, 128 + signal_number);
    std::string now = read_bytes(dir.at("out/wave.frag"));
    EXPECT_TRUE(now == previous || now == new_text) << signal_number << ": " << now.size() << " bytes";
    std::vector<std::string> names = names_in(dir.at("out"));
    if (signal_number == SIGKILL) {
      for (const std::string& name : names) {
        if (name == "wave.frag") continue;
        // Named so that no later batch picks it up.
        EXPECT_NE(fs::path(name).extension(), ".frag") << name;
        EXPECT_NE(fs::path(name).extension(), ".fs") << name;
        fs::remove(dir.at("out/" + name));
      }
    } else {
      EXPECT_EQ(names, std::vector<std::string>{"wave.frag"}) << signal_number;
    }
  }
}

// A batch interrupted while the outputs of shaders still to come wait under
// temporary names (written ahead on the second thread): none is left.
TEST(Interrupted, NoTemporaryFileOfABatchIsLeft) {
  if (under_a_memory_checker() || std::thread::hardware_concurrency() < 2)
    GTEST_SKIP() << "needs the second thread and depends on timing";
  TempDir dir;
  three_flat_shaders(dir);

  HeldRun held({dir.at("in"), dir.at("out")});
  ASSERT_TRUE(held.wait_until_held());
  auto temporary_file_waits = [&] {
    for (const std::string& name : names_in(dir.at("out")))
      if (name.rfind(".isf2orvy-", 0) == 0) return true;
    return false;
  };
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!temporary_file_waits() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_TRUE(temporary_file_waits());
  ::kill(held.pid(), SIGINT);
  held.finish();
  EXPECT_EQ(names_in(dir.at("out")), std::vector<std::string>{"a.frag"});
}

// Two runs write the same output name at once: it ends up as one of the two
// texts, whole, and both report success.
TEST(ConcurrentRuns, TheOutputIsOneRunsTextWhole) {
  if (under_a_memory_checker()) GTEST_SKIP() << "depends on timing";
  TempDir dir;
  for (const char* folder : {"a", "b", "out", "reference_a", "reference_b"})
    fs::create_directories(dir.at(folder));
  write_bytes(dir.at("a/wave.fs"), large_shader("from a", 16));
  write_bytes(dir.at("b/wave.fs"), large_shader("from b", 16));
  ASSERT_EQ(run_tool({dir.at("a/wave.fs"), dir.at("reference_a")}).status, 0);
  ASSERT_EQ(run_tool({dir.at("b/wave.fs"), dir.at("reference_b")}).status, 0);
  const std::string text_a = read_bytes(dir.at("reference_a/wave.frag"));
  const std::string text_b = read_bytes(dir.at("reference_b/wave.frag"));

  for (int round = 0; round < 3; ++round) {
    StartedRun run_a({dir.at("a/wave.fs"), dir.at("out")});
    StartedRun run_b({dir.at("b/wave.fs"), dir.at("out")});
    EXPECT_EQ(run_a.wait(), 0);
    EXPECT_EQ(run_b.wait(), 0);
    EXPECT_EQ(run_a.out(), processed(dir.at("a/wave.fs")));
    EXPECT_EQ(run_b.out(), processed(dir.at("b/wave.fs")));
    std::string now = read_bytes(dir.at("out/wave.frag"));
    EXPECT_TRUE(now == text_a || now == text_b) << now.size() << " bytes";
    EXPECT_EQ(names_in(dir.at("out")), std::vector<std::string>{"wave.frag"});
  }
}

// Out of memory under an address-space limit: a file far larger than the
// limit (sparse, so it costs no disk), and a header whose parse exhausts
// memory. Each fails alone with the unexpected-error line; the process never
// aborts, nothing is written, and the batch goes on.
TEST(OutOfMemory, FailsTheShaderAloneAndWritesNothing) {
  if (address_space_limit_unusable()) GTEST_SKIP() << "a memory limit breaks the checker itself";
  TempDir dir;
  fs::create_directories(dir.at("in"));
  fs::create_directories(dir.at("out"));
  write_bytes(dir.at("in/a_huge.fs"), flat_shader);
  fs::resize_file(dir.at("in/a_huge.fs"), std::uintmax_t{1} << 30);
  std::string elements;
  for (int i = 0; i < 16 * 1024 * 1024; ++i) elements += "0,";
  write_bytes(dir.at("in/b_deep.fs"), "/*{\"X\": [" + elements + "0]}*/\nvoid main() {}\n");
  write_bytes(dir.at("in/c.fs"), flat_shader);
  write_bytes(dir.at("out/b_deep.frag"), "the previous output");

  test_support::RunOptions limited;
  limited.address_space_limit = 256 << 20;
  auto run = run_tool({dir.at("in"), dir.at("out")}, limited);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "Unexpected error processing " + dir.at("in/a_huge.fs") + "\n" +
                         "Unexpected error processing " + dir.at("in/b_deep.fs") + "\n" +
                         processed(dir.at("in/c.fs")));
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(read_bytes(dir.at("out/b_deep.frag")), "the previous output");
  EXPECT_EQ(names_in(dir.at("out")), (std::vector<std::string>{"b_deep.frag", "c.frag"}));
}

// A multi-pass shader too large to hold is refused all the same: the markers
// are searched piece by piece once the whole file cannot be read.
TEST(OutOfMemory, AMultiPassShaderTooLargeToHoldIsStillRefused) {
  if (address_space_limit_unusable()) GTEST_SKIP() << "a memory limit breaks the checker itself";
  TempDir dir;
  fs::create_directories(dir.at("in"));
  fs::create_directories(dir.at("out"));
  write_bytes(dir.at("in/huge.fs"), "/*{\"PASSES\": [{}]}*/\n");
  fs::resize_file(dir.at("in/huge.fs"), std::uintmax_t{1} << 30);
  test_support::RunOptions limited;
  limited.address_space_limit = 256 << 20;
  auto run = run_tool({dir.at("in"), dir.at("out")}, limited);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "*ERROR* Cannot Process ISF Shaders With Multiple Passes (" +
                         dir.at("in/huge.fs") + ")\n");
  EXPECT_TRUE(names_in(dir.at("out")).empty());
}

}  // namespace
#endif
