// Faults of the file system met by the running tool: a full disk, outputs
// whose place is taken, folders and shaders that disappear in the middle of a
// batch, symbolic links and loops of them. Each run must print its message,
// end with its status, and leave no partial file and no other file changed.
#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

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
    std::vector<std::string> words = test_support::tool_command();
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::string err_path = capture_.at("stderr");
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
      int err = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      int null_in = ::open("/dev/null", O_RDONLY);
      if (err < 0 || null_in < 0) ::_exit(126);
      ::dup2(fds[1], 1);
      ::dup2(err, 2);
      ::dup2(null_in, 0);
      std::vector<char*> argv;
      for (std::string& word : words) argv.push_back(word.data());
      argv.push_back(nullptr);
      ::execvp(argv[0], argv.data());
      ::_exit(127);
    }
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

TEST(FullDisk, AnOutputFileBeingReplacedIsRemovedRatherThanLeftHalfWritten) {
  TempDir dir;
  write_bytes(dir.at("wave.fs"), flat_shader + "//" + std::string(64 * 1024, 'x') + "\n");
  write_bytes(dir.at("wave.frag"), "the previous output");
  test_support::RunOptions limited;
  limited.file_size_limit = 4096;
  auto run = run_tool({dir.at("wave.fs"), dir.at("wave.frag")}, limited);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, not_written(dir.at("wave.frag")));
  EXPECT_FALSE(fs::exists(dir.at("wave.frag")));
  EXPECT_EQ(read_bytes(dir.at("wave.fs")).size(), flat_shader.size() + 64 * 1024 + 3);
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
    fs::create_directory(dir.at("in"));
    fs::create_directory(dir.at("out"));
    for (const char* name : {"a.fs", "b.fs", "c.fs"}) write_bytes(dir.at("in/") + name, flat_shader);
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
    fs::create_directory(dir.at("in"));
    fs::create_directory(dir.at("out"));
    for (const char* name : {"a.fs", "b.fs", "c.fs"}) write_bytes(dir.at("in/") + name, flat_shader);

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

}  // namespace
#endif
