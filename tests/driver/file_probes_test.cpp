// File probes on real files: kinds, extensions, vertex companions, the
// multi-pass markers and directory listings.
#include "driver/file_probes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/files.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;
using namespace driver;
using test_support::TempDir;
using test_support::write_bytes;

TEST(FileKind, ClassifiesPaths) {
  TempDir dir;
  write_bytes(dir.at("wave.fs"), "x");
  EXPECT_EQ(file_kind(dir.at("wave.fs")), FileKind::regular_file);
  EXPECT_EQ(file_kind(dir.path().string()), FileKind::directory);
  EXPECT_EQ(file_kind(""), FileKind::status_failed);
  EXPECT_EQ(file_kind(dir.at("missing")), FileKind::status_failed);
#ifdef _WIN32
  // A separator at the end names the directory still, but no file.
  EXPECT_EQ(file_kind(dir.path().string() + "\\"), FileKind::directory);
  EXPECT_EQ(file_kind(dir.path().string() + "/"), FileKind::directory);
  EXPECT_EQ(file_kind(dir.at("wave.fs") + "\\"), FileKind::status_failed);
  EXPECT_EQ(file_kind("NUL"), FileKind::other);
#else
  fs::create_symlink(dir.at("wave.fs"), dir.at("link.fs"));
  fs::create_symlink(dir.at("loop-a"), dir.at("loop-b"));
  fs::create_symlink(dir.at("loop-b"), dir.at("loop-a"));
  EXPECT_EQ(file_kind(dir.at("link.fs")), FileKind::regular_file);
  EXPECT_EQ(file_kind("/dev/null"), FileKind::other);
  EXPECT_EQ(file_kind(dir.at("loop-a")), FileKind::status_failed);
#endif
}

TEST(ExtensionEquals, ComparesTheTextAfterTheLastDot) {
  struct Row {
    const char* path;
    bool is_fs;
  } rows[] = {
      {"wave.fs", true},      {".fs", true},          {"/a/b.c/wave.fs", true},
      {"wave.FS", false},     {"wave.fs.bak", false}, {"wave.", false},
      {"wave", false},        {"my.fx/wave", false},  {"wave.fsx", false},
  };
  for (const Row& row : rows) EXPECT_EQ(extension_equals(row.path, "fs"), row.is_fs) << row.path;
  EXPECT_TRUE(extension_equals("wave.", ""));
  EXPECT_TRUE(extension_equals("my.fx/wave", "fx/wave"));
}

TEST(VertexCompanion, FoundOnlyBesideAnFsFileAndOnlyWhenReadable) {
  TempDir dir;
  write_bytes(dir.at("wave.fs"), "");
  write_bytes(dir.at("wave.vs"), "");
  write_bytes(dir.at("other.txt"), "");
  write_bytes(dir.at("other.vs"), "");
  write_bytes(dir.at("lone.fs"), "");
  write_bytes(dir.at("folder.fs"), "");
  fs::create_directory(dir.at("folder.vs"));
  EXPECT_EQ(vertex_companion(dir.at("wave.fs")), dir.at("wave.vs"));
  EXPECT_EQ(vertex_companion(dir.at("other.txt")), "");
  EXPECT_EQ(vertex_companion(dir.at("lone.fs")), "");
  EXPECT_EQ(vertex_companion(dir.at("folder.fs")), "");
  EXPECT_EQ(vertex_companion("no-dot"), "");
}

TEST(HasMultiplePasses, LooksForTheQuotedKeyOrThePassIndex) {
  TempDir dir;
  // The file is read in pieces of 64 KiB: a marker may straddle two.
  const std::string up_to_a_piece_end(64 * 1024 - 4, ' ');
  struct Row {
    std::string text;
    bool multi;
  } rows[] = {
      {"/*{\"PASSES\": []}*/", true},
      {"/*{}*/\nfloat f = float(MYPASSINDEX);", true},
      {"/*{\"DESCRIPTION\": \"uses no PASSES at all\"}*/", false},
      {"/*{\"passes\": [{}]}*/", false},
      {"", false},
      {up_to_a_piece_end + "PASSINDEX", true},
      {up_to_a_piece_end + "\"PASSES\"", true},
      {up_to_a_piece_end + "PASS INDEX PASSES\"", false},
  };
  for (const Row& row : rows) {
    write_bytes(dir.at("s.fs"), row.text);
    EXPECT_EQ(has_multiple_passes(dir.at("s.fs")), row.multi) << row.text;
    EXPECT_EQ(mentions_multiple_passes(row.text), row.multi) << row.text;
  }
  EXPECT_FALSE(has_multiple_passes(dir.at("missing.fs")));
  EXPECT_FALSE(has_multiple_passes(dir.path().string()));
}

#ifdef _WIN32
// Names differing only in case are one file here, and the order is the
// platform's own, so the names are compared as a set.
TEST(ListDirectory, ListsEveryEntry) {
  TempDir dir;
  write_bytes(dir.at("b.fs"), "");
  write_bytes(dir.at("a"), "");
  fs::create_directory(dir.at("sub"));
  auto sorted = [](std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
  };
  std::vector<std::string> expected{".", "..", "a", "b.fs", "sub"};
  EXPECT_EQ(sorted(list_directory(dir.path().string())), expected);
  EXPECT_EQ(sorted(list_directory(dir.path().string() + "\\")), expected);
  EXPECT_EQ(sorted(list_directory(dir.path().string() + "/")), expected);
  EXPECT_TRUE(list_directory(dir.at("missing")).empty());
  EXPECT_TRUE(list_directory("").empty());
  EXPECT_TRUE(list_directory(dir.at("a")).empty());
}
#else
TEST(ListDirectory, ListsEveryEntrySortedByBytes) {
  TempDir dir;
  write_bytes(dir.at("b.fs"), "");
  write_bytes(dir.at("B.fs"), "");
  write_bytes(dir.at("a"), "");
  fs::create_directory(dir.at("sub"));
  std::vector<std::string> expected{".", "..", "B.fs", "a", "b.fs", "sub"};
  EXPECT_EQ(list_directory(dir.path().string()), expected);
  EXPECT_EQ(list_directory(dir.path().string() + "/"), expected);
  EXPECT_TRUE(list_directory(dir.at("missing")).empty());
  EXPECT_TRUE(list_directory("").empty());
  EXPECT_TRUE(list_directory(dir.at("a")).empty());
}

// The kinds that the listing tells stand in for a status call; links (and a
// listing that tells nothing) still get one, which follows them.
TEST(ShadersInDirectory, KeepsRegularFilesAndWhatLinksLeadTo) {
  TempDir dir;
  fs::create_directory(dir.at("in"));
  write_bytes(dir.at("in/plain.fs"), "");
  write_bytes(dir.at("in/notes.txt"), "");
  fs::create_directory(dir.at("in/folder.fs"));
  ASSERT_EQ(::mkfifo(dir.at("in/pipe.fs").c_str(), 0600), 0);
  fs::create_symlink("plain.fs", dir.at("in/linked.fs"));
  fs::create_symlink("folder.fs", dir.at("in/linked_folder.fs"));
  fs::create_symlink("missing.fs", dir.at("in/dangling.fs"));
  std::string in = dir.at("in") + "/";
  EXPECT_EQ(shaders_in_directory(in), (std::vector<std::string>{in + "linked.fs", in + "plain.fs"}));
}
#endif
