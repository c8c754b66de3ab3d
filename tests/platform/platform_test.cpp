// The platform layer on real files: reading whole or in pieces, with a read
// error told apart from the end of the file; the one-step replacement of an
// output file; and file identity.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "support/files.h"

namespace fs = std::filesystem;
using test_support::read_bytes;
using test_support::TempDir;
using test_support::write_bytes;

namespace {

std::vector<std::string> names_in(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(WriteFile, WritesEveryByteAndNothingElse) {
  TempDir dir;
  std::string text("a\0b\nlast line without line feed", 31);
  ASSERT_TRUE(platform::write_file(dir.at("out.frag"), text));
#ifdef _WIN32
  // Text mode stores the line feed as CR LF.
  EXPECT_EQ(read_bytes(dir.at("out.frag")), std::string("a\0b\r\nlast line without line feed", 32));
#else
  EXPECT_EQ(read_bytes(dir.at("out.frag")), text);
#endif
  ASSERT_TRUE(platform::write_file(dir.at("out.frag"), ""));
  EXPECT_EQ(read_bytes(dir.at("out.frag")), "");
}

TEST(WriteFile, FailsWithoutTouchingADirectoryInTheWay) {
  TempDir dir;
  fs::create_directory(dir.at("taken.frag"));
  EXPECT_FALSE(platform::write_file(dir.at("taken.frag"), "text"));
  EXPECT_TRUE(fs::is_directory(dir.at("taken.frag")));
  EXPECT_FALSE(platform::write_file(dir.at("missing/out.frag"), "text"));
}

TEST(ReadFile, ReadsBytesAndRefusesDirectories) {
  TempDir dir;
  std::string bytes("\xEF\xBB\xBF/*\r\n\0*/", 9);
  write_bytes(dir.at("s.fs"), bytes);
  std::string text;
  ASSERT_EQ(platform::read_file(dir.at("s.fs"), text), platform::ReadStatus::read);
#ifdef _WIN32
  // Text mode reads CR LF as a line feed.
  EXPECT_EQ(text, std::string("\xEF\xBB\xBF/*\n\0*", 8));
#else
  EXPECT_EQ(text, bytes);
#endif
  EXPECT_EQ(platform::read_file(dir.path().string(), text), platform::ReadStatus::cannot_open);
  EXPECT_EQ(platform::read_file(dir.at("missing"), text), platform::ReadStatus::cannot_open);
}

TEST(SameFile, FollowsLinks) {
  TempDir dir;
  write_bytes(dir.at("a"), "x");
  write_bytes(dir.at("b"), "x");
#ifdef _WIN32
  // Symbolic links need extra rights here; a hard link and other spellings
  // of the path name the same file.
  fs::create_hard_link(dir.at("a"), dir.at("link"));
  EXPECT_TRUE(platform::same_file(dir.at("a"), dir.path().string() + "/A"));
#else
  fs::create_symlink(dir.at("a"), dir.at("link"));
#endif
  EXPECT_TRUE(platform::same_file(dir.at("a"), dir.at("link")));
  EXPECT_FALSE(platform::same_file(dir.at("a"), dir.at("b")));
  EXPECT_FALSE(platform::same_file(dir.at("a"), dir.at("missing")));
}


// The replaced name gets a file of its own: a hard link's other name keeps
// the old text, and no temporary file stays.
TEST(WriteFile, ReplacesTheOutputInOneStep) {
  TempDir dir;
  write_bytes(dir.at("out.frag"), "old");
  fs::create_hard_link(dir.at("out.frag"), dir.at("other-name"));
  ASSERT_TRUE(platform::write_file(dir.at("out.frag"), "new"));
  EXPECT_EQ(read_bytes(dir.at("out.frag")), "new");
  EXPECT_EQ(read_bytes(dir.at("other-name")), "old");
  EXPECT_EQ(names_in(dir.path()), (std::vector<std::string>{"other-name", "out.frag"}));
}

TEST(WriteFile, AReadOnlyOutputIsLeftAsItWas) {
#ifndef _WIN32
  if (::geteuid() == 0) GTEST_SKIP() << "the superuser may write a read-only file";
#endif
  TempDir dir;
  write_bytes(dir.at("out.frag"), "old");
  fs::permissions(dir.at("out.frag"), fs::perms::owner_read);
  EXPECT_FALSE(platform::write_file(dir.at("out.frag"), "new"));
  EXPECT_EQ(read_bytes(dir.at("out.frag")), "old");
  EXPECT_EQ(names_in(dir.path()), std::vector<std::string>{"out.frag"});
}

TEST(ReadInPieces, HandsOverTheWholeFileInOrderAndStopsWhenAsked) {
  TempDir dir;
  std::string text;
  for (int i = 0; i < 200000; ++i) text += static_cast<char>('a' + i % 23);
  write_bytes(dir.at("big.fs"), text);
  std::string joined;
  std::size_t pieces = 0;
  auto all = platform::read_in_pieces(dir.at("big.fs"), [&](std::string_view piece) {
    EXPECT_LE(piece.size(), 64u * 1024u);
    joined.append(piece);
    ++pieces;
    return true;
  });
  EXPECT_EQ(all, platform::ReadStatus::read);
  EXPECT_EQ(joined, text);
  EXPECT_GE(pieces, 4u);

  pieces = 0;
  auto first_only = platform::read_in_pieces(dir.at("big.fs"), [&](std::string_view) {
    ++pieces;
    return false;
  });
  EXPECT_EQ(first_only, platform::ReadStatus::read);
  EXPECT_EQ(pieces, 1u);
  EXPECT_EQ(platform::read_in_pieces(dir.at("missing"), [](std::string_view) { return true; }),
            platform::ReadStatus::cannot_open);
}

#ifdef __linux__
// Reading the process's own memory from address 0 opens but fails with EIO.
TEST(ReadFile, AFailingReadIsAnErrorNotTheEndOfTheFile) {
  std::string text;
  EXPECT_EQ(platform::read_file("/proc/self/mem", text), platform::ReadStatus::read_error);
  EXPECT_EQ(platform::read_in_pieces("/proc/self/mem", [](std::string_view) { return true; }),
            platform::ReadStatus::read_error);
}
#endif

#ifndef _WIN32
// A link stays a link, however it is written (relative, absolute, chained,
// leading nowhere yet); the file it leads to is what gets replaced.
TEST(WriteFile, ALinkedOutputKeepsItsLinks) {
  TempDir dir;
  fs::create_directory(dir.at("a"));
  fs::create_directory(dir.at("b"));
  write_bytes(dir.at("b/real.frag"), "old");
  fs::create_symlink("../b/real.frag", dir.at("a/relative.frag"));
  fs::create_symlink(dir.at("a/relative.frag"), dir.at("a/chained.frag"));
  fs::create_symlink("not-yet.frag", dir.at("a/dangling.frag"));
  for (const char* link : {"a/relative.frag", "a/chained.frag"}) {
    ASSERT_TRUE(platform::write_file(dir.at(link), link)) << link;
    EXPECT_TRUE(fs::is_symlink(dir.at(link))) << link;
    EXPECT_EQ(read_bytes(dir.at("b/real.frag")), link);
  }
  ASSERT_TRUE(platform::write_file(dir.at("a/dangling.frag"), "made"));
  EXPECT_TRUE(fs::is_symlink(dir.at("a/dangling.frag")));
  EXPECT_EQ(read_bytes(dir.at("a/not-yet.frag")), "made");
  EXPECT_EQ(names_in(dir.at("b")), std::vector<std::string>{"real.frag"});
}

// A replaced file keeps its mode; a new one gets 0666 less the umask.
TEST(WriteFile, PermissionBits) {
  TempDir dir;
  write_bytes(dir.at("kept.frag"), "old");
  ::chmod(dir.at("kept.frag").c_str(), 0640);
  mode_t previous_mask = ::umask(027);
  bool written = platform::write_file(dir.at("kept.frag"), "new") &&
                 platform::write_file(dir.at("new.frag"), "new");
  ::umask(previous_mask);
  ASSERT_TRUE(written);
  struct stat kept {}, made {};
  ASSERT_EQ(::stat(dir.at("kept.frag").c_str(), &kept), 0);
  ASSERT_EQ(::stat(dir.at("new.frag").c_str(), &made), 0);
  EXPECT_EQ(kept.st_mode & 07777, 0640u);
  EXPECT_EQ(made.st_mode & 07777, 0640u);
  ::chmod(dir.at("kept.frag").c_str(), 0604);
  ASSERT_TRUE(platform::write_file(dir.at("kept.frag"), "newer"));
  ASSERT_EQ(::stat(dir.at("kept.frag").c_str(), &kept), 0);
  EXPECT_EQ(kept.st_mode & 07777, 0604u);
}

// One look at an output path answers for the file that its links lead to:
// as far as the system itself follows links (40), and no further.
TEST(LookUpOutput, AnswersForTheFileTheLinksLeadTo) {
  TempDir dir;
  write_bytes(dir.at("real.frag"), "x");
  ::chmod(dir.at("real.frag").c_str(), 0640);
  fs::create_directory(dir.at("folder"));
  fs::create_symlink("real.frag", dir.at("link0"));
  for (int i = 1; i <= 40; ++i)
    fs::create_symlink("link" + std::to_string(i - 1), dir.at("link" + std::to_string(i)));
  fs::create_symlink("nowhere.frag", dir.at("dangling.frag"));
  fs::create_symlink("loop.frag", dir.at("loop.frag"));
  using platform::StatKind;
  struct Row {
    const char* path;
    const char* final_path;
    StatKind kind, entry;
  } rows[] = {
      {"real.frag", "real.frag", StatKind::regular_file, StatKind::regular_file},
      {"link39", "real.frag", StatKind::regular_file, StatKind::regular_file},
      {"link40", "link0", StatKind::failed, StatKind::other},
      {"folder", "folder", StatKind::directory, StatKind::directory},
      {"missing.frag", "missing.frag", StatKind::failed, StatKind::failed},
      {"dangling.frag", "nowhere.frag", StatKind::failed, StatKind::failed},
      {"loop.frag", "loop.frag", StatKind::failed, StatKind::other},
  };
  for (const Row& row : rows) {
    platform::OutputFile output = platform::look_up_output(dir.at(row.path));
    EXPECT_EQ(output.final_path, dir.at(row.final_path)) << row.path;
    EXPECT_EQ(output.kind, row.kind) << row.path;
    EXPECT_EQ(output.entry, row.entry) << row.path;
    EXPECT_EQ(output.identity, platform::file_identity(dir.at(row.path))) << row.path;
  }
  EXPECT_EQ(platform::look_up_output(dir.at("link39")).permissions, 0640u);

  std::string text;
  std::optional<platform::FileId> identity;
  ASSERT_EQ(platform::read_file(dir.at("link39"), text, identity), platform::ReadStatus::read);
  EXPECT_EQ(identity, platform::file_identity(dir.at("real.frag")));
  EXPECT_TRUE(identity.has_value());
}

// A FIFO is written in place, never replaced by a regular file.
TEST(WriteFile, AFifoIsWrittenInPlace) {
  TempDir dir;
  ASSERT_EQ(::mkfifo(dir.at("pipe.frag").c_str(), 0600), 0);
  int reader = ::open(dir.at("pipe.frag").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  EXPECT_TRUE(platform::write_file(dir.at("pipe.frag"), "through the pipe"));
  char buffer[64] = {};
  ssize_t n = ::read(reader, buffer, sizeof buffer);
  ::close(reader);
  EXPECT_EQ(std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0), "through the pipe");
  EXPECT_TRUE(fs::is_fifo(dir.at("pipe.frag")));
}
#endif

}  // namespace
