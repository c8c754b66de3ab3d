// Windows side of the platform layer: the C runtime's _stat64i32 and its
// wildcard search (_findfirst64i32), text-mode reads of the shader, the
// output written in text mode (every line feed stored as CR LF) to a
// temporary file that MoveFileExA puts in place, and the file identity
// (volume serial number and file index).
#include "platform/platform.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <utility>

namespace platform {
namespace {

// The two bits of the status mode that decide the kind.
constexpr unsigned directory_bit = 0x4000;
constexpr unsigned regular_file_bit = 0x8000;

// A handle for queries only. FILE_FLAG_BACKUP_SEMANTICS lets a directory open
// too; sharing everything keeps other programs' access undisturbed.
HANDLE open_for_query(const std::string& path) {
  return ::CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// The runtime that MinGW links (msvcrt.dll) fails _stat64i32 on a directory
// path ending in a separator ("D:\fx\") and on devices such as NUL, where
// the Universal CRT of current Windows reports a directory and a character
// device. Those answers come from a file handle: a disk file is a directory
// or a regular file by its attributes, a device or pipe is neither.
StatKind stat_kind_through_handle(const std::string& path) {
  HANDLE handle = open_for_query(path);
  if (handle == INVALID_HANDLE_VALUE) return StatKind::failed;
  StatKind kind = StatKind::other;
  if (::GetFileType(handle) == FILE_TYPE_DISK) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle, &info))
      kind = StatKind::failed;
    else if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      kind = StatKind::directory;
    else
      kind = StatKind::regular_file;
  }
  ::CloseHandle(handle);
  return kind;
}

std::optional<FileId> identity_of(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(handle, &info)) return std::nullopt;
  return FileId{info.dwVolumeSerialNumber,
                (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

// A disk file's stamp; the last write time stands for both times.
std::optional<FileStamp> stamp_of(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return std::nullopt;
  auto wide = [](DWORD high, DWORD low) { return (std::uint64_t{high} << 32) | low; };
  auto written = static_cast<std::int64_t>(
      wide(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime));
  return FileStamp{FileId{info.dwVolumeSerialNumber, wide(info.nFileIndexHigh, info.nFileIndexLow)},
                   wide(info.nFileSizeHigh, info.nFileSizeLow), written, written};
}

// Opened in text mode (CR LF arrives as a line feed) and closed however the
// reading ends, std::bad_alloc included.
struct InputFile {
  explicit InputFile(const std::string& path) : fd(::_open(path.c_str(), _O_RDONLY | _O_TEXT)) {}
  ~InputFile() {
    if (fd >= 0) ::_close(fd);
  }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  int fd;
};

ReadStatus read_pieces(int fd, const std::function<bool(std::string_view)>& consume) {
  char buffer[1 << 16];
  for (;;) {
    int n = ::_read(fd, buffer, sizeof buffer);
    if (n < 0) return ReadStatus::read_error;
    if (n == 0 || !consume(std::string_view(buffer, static_cast<std::size_t>(n))))
      return ReadStatus::read;
  }
}

// The temporary file that exists while an output is written, for the
// console handler, which runs on a thread of its own.
char pending_temp[MAX_PATH * 4];
volatile LONG temp_pending = 0;

// Ctrl+C, Ctrl+Break and closing the console end the process; the temporary
// file goes first. It was opened with FILE_SHARE_DELETE, so it can be deleted
// while the writer still holds it.
BOOL WINAPI remove_temp_on_console_event(DWORD) {
  if (temp_pending) ::DeleteFileA(pending_temp);
  return FALSE;  // the next handler, the default one, ends the process
}

void handle_console_events_once() {
  static bool handled = false;
  if (handled) return;
  handled = true;
  ::SetConsoleCtrlHandler(remove_temp_on_console_event, TRUE);
}

bool write_in_place(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (file == nullptr) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && ok;
}

// Creates a temporary file beside `target`, named so that no listing of
// shaders or outputs picks it up, registers it for removal, and opens it as
// a text-mode stream.
std::FILE* create_temp(const std::string& target, std::string& temp) {
  std::size_t slash = target.find_last_of("\\/:");
  std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = folder + ".isf2orvy-" + std::to_string(::_getpid()) + "-" + std::to_string(attempt) +
           ".tmp";
    if (temp.size() >= sizeof pending_temp) return nullptr;
    std::memcpy(pending_temp, temp.c_str(), temp.size() + 1);
    temp_pending = 1;
    HANDLE handle = ::CreateFileA(temp.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                  nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      temp_pending = 0;
      if (::GetLastError() == ERROR_FILE_EXISTS) continue;
      return nullptr;
    }
    int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_TEXT);
    std::FILE* file = fd < 0 ? nullptr : ::_fdopen(fd, "w");
    if (file != nullptr) return file;
    if (fd < 0)
      ::CloseHandle(handle);
    else
      ::_close(fd);
    ::DeleteFileA(temp.c_str());
    temp_pending = 0;
    return nullptr;
  }
  return nullptr;
}

// The path that the links at the end of `path` lead to.
std::string resolve_links(const std::string& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return path;
  HANDLE handle = open_for_query(path);
  if (handle == INVALID_HANDLE_VALUE) return path;
  char buffer[MAX_PATH * 4];
  DWORD length = ::GetFinalPathNameByHandleA(handle, buffer, sizeof buffer, FILE_NAME_NORMALIZED);
  ::CloseHandle(handle);
  if (length == 0 || length >= sizeof buffer) return path;
  std::string resolved(buffer, length);
  // The answer comes as \\?\D:\... or \\?\UNC\server\share\...
  if (resolved.compare(0, 8, "\\\\?\\UNC\\") == 0) return "\\" + resolved.substr(7);
  if (resolved.compare(0, 4, "\\\\?\\") == 0) return resolved.substr(4);
  return resolved;
}

}  // namespace

StatKind stat_kind(const std::string& path) {
  if (path.empty()) return StatKind::failed;
  struct _stat64i32 status {};
  if (::_stat64i32(path.c_str(), &status) != 0) return stat_kind_through_handle(path);
  if (status.st_mode & directory_bit) return StatKind::directory;
  if (status.st_mode & regular_file_bit) return StatKind::regular_file;
  return StatKind::other;
}

std::optional<std::vector<DirectoryEntry>> list_entries(const std::string& directory) {
  if (directory.empty()) return std::nullopt;
  char last = directory.back();
  std::string pattern = directory + (last == '/' || last == '\\' ? "*" : "/*");
  struct _finddata64i32_t entry {};
  intptr_t search = ::_findfirst64i32(pattern.c_str(), &entry);
  if (search == -1) return std::nullopt;
  // The kinds are left to stat_kind, whose answers for devices and links the
  // search does not give.
  std::vector<DirectoryEntry> entries;
  do {
    entries.push_back({entry.name, std::nullopt});
  } while (::_findnext64i32(search, &entry) == 0);
  ::_findclose(search);
  return entries;
}

bool opens_for_reading(const std::string& path) {
  std::ifstream stream(path);
  return stream.is_open() && stream.good();
}

ReadStatus read_in_pieces(const std::string& path,
                          const std::function<bool(std::string_view)>& consume) {
  InputFile file(path);
  if (file.fd < 0) return ReadStatus::cannot_open;
  return read_pieces(file.fd, consume);
}

namespace {

// What `ask` tells of the file that the path names, through a handle opened
// for the question; nothing when it does not open.
template <class Answer>
std::optional<Answer> ask_through_handle(const std::string& path,
                                         std::optional<Answer> (*ask)(HANDLE)) {
  HANDLE handle = open_for_query(path);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<Answer> answer = ask(handle);
  ::CloseHandle(handle);
  return answer;
}

}  // namespace

std::optional<FileId> file_identity(const std::string& path) {
  return ask_through_handle(path, identity_of);
}

std::optional<FileStamp> file_stamp(const std::string& path) {
  return ask_through_handle(path, stamp_of);
}

ReadStatus read_file(const std::string& path, std::string& text) {
  std::optional<FileId> identity;
  return read_file(path, text, identity);
}

ReadStatus read_file(const std::string& path, std::string& text,
                     std::optional<FileId>& identity, std::optional<FileStamp>* stamp) {
  text.clear();
  identity.reset();
  if (stamp != nullptr) stamp->reset();
  InputFile file(path);
  if (file.fd < 0) return ReadStatus::cannot_open;
  HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(file.fd));
  identity = identity_of(handle);
  if (stamp != nullptr) *stamp = stamp_of(handle);
  // Text mode only shrinks the text, so the file's length is room enough.
  long long length = ::_filelengthi64(file.fd);
  if (length > 0) text.reserve(static_cast<std::size_t>(length));
  return read_pieces(file.fd, [&text](std::string_view piece) {
    text.append(piece);
    return true;
  });
}

OutputFile look_up_output(const std::string& path) {
  OutputFile output;
  output.final_path = resolve_links(path);
  output.kind = output.entry = stat_kind(output.final_path);
  output.identity = file_identity(output.final_path);
  return output;
}

bool write_file(const OutputFile& output, const std::string& text) {
  handle_console_events_once();
  const std::string& target = output.final_path;
  switch (output.entry) {
    case StatKind::other: return write_in_place(target, text);  // a device such as NUL
    case StatKind::directory: return false;
    case StatKind::regular_file:
      if (::GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_READONLY) return false;
      break;
    case StatKind::failed: break;
  }
  std::string temp;
  std::FILE* file = create_temp(target, temp);
  if (file == nullptr) return false;
  // fwrite rather than a "%s" format, so that a NUL byte does not end the text.
  bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  ok = std::fflush(file) == 0 && ok;
  ok = std::fclose(file) == 0 && ok;
  ok = ok && ::MoveFileExA(temp.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  if (!ok) ::DeleteFileA(temp.c_str());
  temp_pending = 0;
  return ok;
}

bool write_file(const std::string& path, const std::string& text) {
  return write_file(look_up_output(path), text);
}

namespace {

// _isatty answers true for every character device, NUL included; only a
// console has a console mode.
bool is_console(DWORD standard_handle) {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(standard_handle), &mode) != 0;
}

}  // namespace

bool stdout_is_terminal() { return is_console(STD_OUTPUT_HANDLE); }

bool stderr_is_terminal() { return is_console(STD_ERROR_HANDLE); }

// A write to a closed pipe fails on Windows without ending the process.
void keep_running_on_closed_pipes() {}

int current_processor() { return -1; }

void move_off_processor(int) {}

// Outputs are not staged on Windows: every output is written at its turn.
StagedOutput::StagedOutput(StagedOutput&& other) noexcept
    : temp_(std::move(other.temp_)), slot_(std::exchange(other.slot_, -1)) {}

StagedOutput& StagedOutput::operator=(StagedOutput&& other) noexcept {
  temp_ = std::move(other.temp_);
  slot_ = std::exchange(other.slot_, -1);
  return *this;
}

StagedOutput::~StagedOutput() = default;

void StagedOutput::discard() { slot_ = -1; }

bool StagedOutput::commit(const std::string&) { return false; }

StagedOutput stage_output(const std::string&, const std::string&) { return StagedOutput(); }

}  // namespace platform
