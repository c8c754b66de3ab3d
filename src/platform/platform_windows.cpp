// Windows side of the platform layer: the C runtime's _stat64i32 and its
// wildcard search (_findfirst64i32), text-mode streams for the shader and the
// output file (every line feed of the output stored as CR LF), and the file
// identity (volume serial number and file index) for same_file.
#include "platform/platform.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <io.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>

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

bool file_identity(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
  HANDLE handle = open_for_query(path);
  if (handle == INVALID_HANDLE_VALUE) return false;
  bool ok = ::GetFileInformationByHandle(handle, &info) != 0;
  ::CloseHandle(handle);
  return ok;
}

// Only a regular file that the writer itself opened may be removed after a
// failed write; a device (NUL, CON) must stay.
bool is_disk_file(std::FILE* file) {
  intptr_t os_handle = ::_get_osfhandle(::_fileno(file));
  return os_handle != -1 && ::GetFileType(reinterpret_cast<HANDLE>(os_handle)) == FILE_TYPE_DISK;
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

std::optional<std::vector<std::string>> list_entries(const std::string& directory) {
  if (directory.empty()) return std::nullopt;
  char last = directory.back();
  std::string pattern = directory + (last == '/' || last == '\\' ? "*" : "/*");
  struct _finddata64i32_t entry {};
  intptr_t search = ::_findfirst64i32(pattern.c_str(), &entry);
  if (search == -1) return std::nullopt;
  std::vector<std::string> names;
  do {
    names.emplace_back(entry.name);
  } while (::_findnext64i32(search, &entry) == 0);
  ::_findclose(search);
  return names;
}

bool opens_for_reading(const std::string& path) {
  std::ifstream stream(path);
  return stream.is_open() && stream.good();
}

bool read_file(const std::string& path, std::string& text) {
  text.clear();
  // Text mode: CR LF pairs arrive as line feeds.
  std::ifstream stream(path);
  if (!stream.is_open() || !stream.good()) return false;
  std::ostringstream contents;
  contents << stream.rdbuf();
  text = contents.str();
  return true;
}

bool write_file(const std::string& path, const std::string& text) {
  // Text mode: every line feed is stored as CR LF.
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (file == nullptr) return false;
  bool disk_file = is_disk_file(file);
  // fwrite rather than a "%s" format, so that a NUL byte does not end the text.
  bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  ok = std::fflush(file) == 0 && ok;
  ok = std::fclose(file) == 0 && ok;
  if (!ok && disk_file) std::remove(path.c_str());
  return ok;
}

bool same_file(const std::string& a, const std::string& b) {
  BY_HANDLE_FILE_INFORMATION info_a{}, info_b{};
  if (!file_identity(a, info_a) || !file_identity(b, info_b)) return false;
  return info_a.dwVolumeSerialNumber == info_b.dwVolumeSerialNumber &&
         info_a.nFileIndexHigh == info_b.nFileIndexHigh &&
         info_a.nFileIndexLow == info_b.nFileIndexLow;
}

bool stderr_is_terminal() { return ::_isatty(_fileno(stderr)) != 0; }

}  // namespace platform
