// The operating system behind one small interface: file status, directory
// listing, reading and writing whole files, and file identity. One
// implementation for POSIX, one for Windows; nothing else includes OS headers.
#pragma once

#include <optional>
#include <string>
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

// The names of every entry of the directory ("." and ".." included), or
// nothing when the search cannot be started. POSIX sorts them by byte value;
// Windows keeps the platform's search order.
std::optional<std::vector<std::string>> list_entries(const std::string& directory);

// True when the path opens for reading as a file; a directory never does.
bool opens_for_reading(const std::string& path);

// Reads the whole file into `text`. False when it cannot be opened for
// reading (a directory included). A read error ends the text early.
bool read_file(const std::string& path, std::string& text);

// Writes `text` to the file in text mode, created or truncated. On any
// failure (open, write, close) the partial file is removed and false returned.
bool write_file(const std::string& path, const std::string& text);

// True when both paths name the same existing file (links followed).
bool same_file(const std::string& a, const std::string& b);

// True when standard error is a terminal (a progress bar may redraw there).
bool stderr_is_terminal();

}  // namespace platform
