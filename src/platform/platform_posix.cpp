// POSIX side of the platform layer: stat(2), opendir(3) with a sorted
// listing, open(2)/read(2) for input, and the output written to a temporary
// file that rename(2) puts in place.
#include "platform/platform.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace platform {
namespace {

// As many links as the system itself follows in one path.
constexpr int max_link_hops = 40;

// The temporary file that exists while an output is written, for the signal
// handler; set only while no handler can be reading it.
char pending_temp[8192];
volatile std::sig_atomic_t temp_pending = 0;

extern "C" void remove_temp_and_end(int signal_number) {
  if (temp_pending) ::unlink(pending_temp);
  // Ends the process by the same signal, as if it had not been caught.
  ::signal(signal_number, SIG_DFL);
  ::raise(signal_number);
}

// A signal that the caller told the process to ignore stays ignored. With
// SIGXFSZ ignored, a write over the file-size limit fails with EFBIG.
void handle_signals_once() {
  static bool handled = false;
  if (handled) return;
  handled = true;
  ::signal(SIGXFSZ, SIG_IGN);
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction current {};
    if (::sigaction(signal_number, nullptr, &current) != 0 || current.sa_handler == SIG_IGN)
      continue;
    struct sigaction action {};
    action.sa_handler = remove_temp_and_end;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal_number, &action, nullptr);
  }
}

// Opens for reading without blocking on a FIFO and refuses directories.
int open_readable(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Closed however the reading ends, std::bad_alloc included.
struct InputFile {
  explicit InputFile(int descriptor) : fd(descriptor) {}
  ~InputFile() {
    if (fd >= 0) ::close(fd);
  }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  int fd;
};

ReadStatus read_pieces(int fd, const std::function<bool(std::string_view)>& consume) {
  // Back to blocking reads now that the open could not hang.
  int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  char buffer[1 << 16];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return ReadStatus::read_error;
    if (n == 0 || !consume(std::string_view(buffer, static_cast<std::size_t>(n))))
      return ReadStatus::read;
  }
}

bool write_all(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool write_in_place(const std::string& path, const std::string& text) {
  // O_NONBLOCK keeps a FIFO without a reader from hanging the run.
  int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  bool ok = write_all(fd, text);
  return ::close(fd) == 0 && ok;
}

// Creates a temporary file in the folder of `target`, named so that no
// listing of shaders or outputs picks it up, and registers it for removal.
int create_temp(const std::string& target, std::string& temp) {
  std::size_t slash = target.rfind('/');
  std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = folder + ".isf2orvy-" + std::to_string(::getpid()) + "-" + std::to_string(attempt) +
           ".tmp";
    if (temp.size() >= sizeof pending_temp) return -1;
    std::memcpy(pending_temp, temp.c_str(), temp.size() + 1);
    temp_pending = 1;
    // Mode 0666 less the umask, as a file that fopen creates.
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return fd;
    temp_pending = 0;
    if (errno != EEXIST) return -1;
  }
  return -1;
}

bool replace_file(const std::string& target, const std::string& text,
                  std::optional<mode_t> keep_mode) {
  std::string temp;
  int fd = create_temp(target, temp);
  if (fd < 0) return false;
  if (keep_mode) ::fchmod(fd, *keep_mode);  // best effort: some file systems have no modes
  bool ok = write_all(fd, text);
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  temp_pending = 0;
  return ok;
}

}  // namespace

StatKind stat_kind(const std::string& path) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return StatKind::failed;
  if (S_ISDIR(st.st_mode)) return StatKind::directory;
  if (S_ISREG(st.st_mode)) return StatKind::regular_file;
  return StatKind::other;
}

std::optional<std::vector<std::string>> list_entries(const std::string& directory) {
  if (directory.empty()) return std::nullopt;
  DIR* dir = ::opendir(directory.c_str());
  if (dir == nullptr) return std::nullopt;
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(dir)) names.emplace_back(entry->d_name);
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

bool opens_for_reading(const std::string& path) {
  int fd = open_readable(path);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

ReadStatus read_in_pieces(const std::string& path,
                          const std::function<bool(std::string_view)>& consume) {
  InputFile file(open_readable(path));
  if (file.fd < 0) return ReadStatus::cannot_open;
  return read_pieces(file.fd, consume);
}

ReadStatus read_file(const std::string& path, std::string& text) {
  text.clear();
  InputFile file(open_readable(path));
  if (file.fd < 0) return ReadStatus::cannot_open;
  struct stat st {};
  if (::fstat(file.fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
    text.reserve(static_cast<std::size_t>(st.st_size));
  return read_pieces(file.fd, [&text](std::string_view piece) {
    text.append(piece);
    return true;
  });
}

std::string resolve_links(const std::string& path) {
  std::string current = path;
  for (int hop = 0; hop < max_link_hops; ++hop) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    std::string target(static_cast<std::size_t>(st.st_size) + 1, '\0');
    ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) return current;
    target.resize(static_cast<std::size_t>(length));
    std::size_t slash = current.rfind('/');
    if (target.front() == '/' || slash == std::string::npos)
      current = target;
    else
      current = current.substr(0, slash + 1) + target;
  }
  return current;  // a loop: still a link, which the writer refuses
}

bool write_file(const std::string& path, const std::string& text) {
  handle_signals_once();
  std::string target = resolve_links(path);
  struct stat st {};
  if (::lstat(target.c_str(), &st) != 0) return replace_file(target, text, std::nullopt);
  // A device or FIFO is written in place; a folder or a loop of links fails there.
  if (!S_ISREG(st.st_mode)) return write_in_place(target, text);
  if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return false;
  return replace_file(target, text, st.st_mode & 07777);
}

bool same_file(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool stdout_is_terminal() { return ::isatty(STDOUT_FILENO) == 1; }

bool stderr_is_terminal() { return ::isatty(STDERR_FILENO) == 1; }

void keep_running_on_closed_pipes() { ::signal(SIGPIPE, SIG_IGN); }

}  // namespace platform
