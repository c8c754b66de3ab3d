// The operating system behind one small interface: file status, directory
// listing, reading files, replacing a file in one step, and file identity.
// One implementation for POSIX, one for Windows; nothing else includes OS
// headers.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The path separator that the path rules know: '\\' on Windows, '/' elsewhere.
#ifdef _WIN32
inline constexpr char separator = '\\';
#else
inline constexpr char separator = '/';
#endif

enum class StatKind { regular_file, directory, other, failed };

// Status of the path: directory first, then regular file, else other.
StatKind stat_kind(const std::string& path);

struct DirectoryEntry {
  std::string name;
  // The kind when the listing itself tells it as stat_kind would (POSIX: a
  // regular file, a folder or a device that is no link); else nothing.
  std::optional<StatKind> kind;
};

// Every entry of the directory ("." and ".." included), or nothing when the
// search cannot be started. POSIX sorts them by the bytes of their names;
// Windows keeps the platform's search order.
std::optional<std::vector<DirectoryEntry>> list_entries(const std::string& directory);

// True when the path opens for reading as a file; a directory never does.
bool opens_for_reading(const std::string& path);

// Which file a path names: device and file number (POSIX), or volume serial
// number and file index (Windows). Two names of one file have one identity.
struct FileId {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  bool operator==(const FileId& other) const {
    return volume == other.volume && index == other.index;
  }
};

// The identity of the file that the path names, links followed; nothing
// when it does not exist.
std::optional<FileId> file_identity(const std::string& path);

// What a regular file was when it was looked at: which file, its size and
// when its content and its status last changed. The same stamp at two looks
// means the file was not changed in between, as far as the file system's
// clock can tell.
struct FileStamp {
  FileId id;
  std::uint64_t size = 0;
  std::int64_t modified_ns = 0;
  std::int64_t changed_ns = 0;
  bool operator==(const FileStamp& other) const {
    return id == other.id && size == other.size && modified_ns == other.modified_ns &&
           changed_ns == other.changed_ns;
  }
};

// The stamp of the regular file that the path names, links followed;
// nothing for anything else or when it cannot be looked at.
std::optional<FileStamp> file_stamp(const std::string& path);

enum class ReadStatus {
  read,         // to the end of the file (or as far as the caller wanted)
  cannot_open,  // no such file, no rights, or a directory
  read_error,   // the file opened but a read failed part-way
};

// Reads the whole file into `text` (text mode: CR LF arrives as a line feed
// on Windows). The space for a regular file is taken before the first read,
// so a file larger than memory fails at once with std::bad_alloc. `identity`
// receives the identity of the file that was opened; `stamp`, when given,
// its stamp as it was opened, for a regular file.
ReadStatus read_file(const std::string& path, std::string& text,
                     std::optional<FileId>& identity,
                     std::optional<FileStamp>* stamp = nullptr);
ReadStatus read_file(const std::string& path, std::string& text);

// Hands the file to `consume` in pieces of at most 64 KiB, in order, until
// the end or until `consume` returns false: a search over a file of any size
// in bounded memory.
ReadStatus read_in_pieces(const std::string& path,
                          const std::function<bool(std::string_view)>& consume);

// An output path as the writer finds it, looked up once: the file that the
// links at its end lead to, and what stands there.
struct OutputFile {
  // The path that the symbolic links at its end lead to, followed to the last
  // one (which need not exist); the path itself when it is no link.
  std::string final_path;
  StatKind kind = StatKind::failed;  // of the path, links followed, as stat_kind says
  std::optional<FileId> identity;    // of that file, when it exists
  // What stands at final_path itself: failed when nothing does, other when a
  // link is still there (a loop of links).
  StatKind entry = StatKind::failed;
  unsigned permissions = 0;  // the permission bits of a regular file there
};

OutputFile look_up_output(const std::string& path);

// Puts `text` (text mode) at `path` in one step: it is written to a new
// temporary file beside the file it replaces, which is renamed over that file
// once complete, so the path holds the old file or the new text, never a mix.
// A link at `path` stays and the file it leads to is replaced; a replaced
// file keeps its permission bits. A read-only file, or a failure anywhere,
// leaves everything as it was and gives false. A device or FIFO is written in
// place. The temporary file is removed when the process is interrupted or
// terminated while it exists (SIGINT, SIGTERM, SIGHUP; Ctrl+C or closing the
// console); a file-size limit is a write failure, not the end of the process.
bool write_file(const std::string& path, const std::string& text);
// The same, for an output path already looked up.
bool write_file(const OutputFile& output, const std::string& text);

// An output written ahead of its turn: the text waits in a new temporary
// file in the output's folder until commit() renames it to the output name.
// Only for a name where nothing stood at the caller's last look (no link to
// follow, no mode to keep). Until then the temporary file is removed on the
// signals that write_file handles, and when the staged output is discarded
// or dropped.
class StagedOutput {
 public:
  StagedOutput() = default;
  StagedOutput(StagedOutput&& other) noexcept;
  StagedOutput& operator=(StagedOutput&& other) noexcept;
  StagedOutput(const StagedOutput&) = delete;
  StagedOutput& operator=(const StagedOutput&) = delete;
  ~StagedOutput();

  bool staged() const { return slot_ >= 0; }
  // Puts the text at `path` in one step; false (the temporary file removed,
  // `path` as it was) when that fails or nothing is staged.
  bool commit(const std::string& path);
  void discard();

 private:
  friend StagedOutput stage_output(const std::string& path, const std::string& text);
  std::string temp_;
  int slot_ = -1;  // in the register of temporary files; -1: nothing staged
};

// Writes `text` to a temporary file beside `path`; nothing staged when that
// fails (nothing is left behind) or when too many are staged already.
StagedOutput stage_output(const std::string& path, const std::string& text);

// True when both paths name the same existing file (links followed).
inline bool same_file(const std::string& a, const std::string& b) {
  std::optional<FileId> id_a = file_identity(a);
  if (!id_a) return false;
  std::optional<FileId> id_b = file_identity(b);
  return id_b && *id_a == *id_b;
}

// True when standard output or standard error is a terminal; on Windows, a
// console (NUL and other character devices are none).
bool stdout_is_terminal();
bool stderr_is_terminal();

// A write to a pipe whose reader has gone fails with an error instead of
// ending the process (SIGPIPE on POSIX), so the caller can report it.
void keep_running_on_closed_pipes();

// The processor that the calling thread runs on now; -1 when unknown.
int current_processor();

// Moves the calling thread to another processor than `processor`, when one
// is allowed to it, and leaves it free to go anywhere afterwards: a thread
// started to work beside the one that started it then begins elsewhere
// (the system would otherwise often keep both on one processor for a short
// run). Does nothing on Windows.
void move_off_processor(int processor);

}  // namespace platform
