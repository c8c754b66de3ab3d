// POSIX side of the platform layer: stat(2), opendir(3) with a sorted
// listing, open(2)/read(2) for input, and the output written to a temporary
// file that rename(2) puts in place.
#include "platform/platform.h"

#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <utility>

namespace platform {
namespace {

// As many links as the system itself follows in one path.
constexpr int max_link_hops = 40;

// The temporary files that exist while outputs are written or staged, for
// the signal handler. A slot is taken by one thread, gets its path, and only
// then is marked live; the handler removes every live one. Slot 0 belongs to
// write_file (one output at a time), the others to staged outputs.
struct TempSlot {
  char path[8192] = {};  // zero-initialised like the flags: no work at start-up
  std::atomic<bool> taken{false};
  std::atomic<bool> live{false};
};
constexpr int temp_slots = 40;
TempSlot temp_registry[temp_slots];
static_assert(std::atomic<bool>::is_always_lock_free, "read in a signal handler");

// The numbers that make temporary names unique within the process.
std::atomic<unsigned long> next_temp_number{0};

extern "C" void remove_temp_and_end(int signal_number) {
  for (TempSlot& slot : temp_registry)
    if (slot.live.load()) ::unlink(slot.path);
  // Ends the process by the same signal, as if it had not been caught.
  ::signal(signal_number, SIG_DFL);
  ::raise(signal_number);
}

// A signal that the caller told the process to ignore stays ignored. With
// SIGXFSZ ignored, a write over the file-size limit fails with EFBIG.
void handle_signals_once() {
  static const bool handled = [] {
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
    return true;
  }();
  (void)handled;
}

FileId identity_of(const struct stat& st) {
  return FileId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

// Opens for reading without blocking on a FIFO and refuses directories;
// `st` receives the status of the file opened.
int open_readable(const std::string& path, struct stat& st) {
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  // Back to blocking reads now that the open could not hang (O_NONBLOCK was
  // the one status flag set). A regular file never blocks: it needs no call.
  if (!S_ISREG(st.st_mode)) ::fcntl(fd, F_SETFL, 0);
  return fd;
}

// Closed however the reading ends, std::bad_alloc included.
struct InputFile {
  InputFile(const std::string& path, struct stat& st) : fd(open_readable(path, st)) {}
  ~InputFile() {
    if (fd >= 0) ::close(fd);
  }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  int fd;
};

ReadStatus read_pieces(int fd, const std::function<bool(std::string_view)>& consume) {
  char buffer[1 << 16];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return ReadStatus::read_error;
    if (n == 0 || !consume(std::string_view(buffer, static_cast<std::size_t>(n))))
      return ReadStatus::read;
  }
}

std::optional<FileStamp> stamp_of(const struct stat& st) {
  if (!S_ISREG(st.st_mode)) return std::nullopt;
  constexpr std::int64_t ns = 1000000000;
  return FileStamp{identity_of(st), static_cast<std::uint64_t>(st.st_size),
                   std::int64_t{st.st_mtim.tv_sec} * ns + st.st_mtim.tv_nsec,
                   std::int64_t{st.st_ctim.tv_sec} * ns + st.st_ctim.tv_nsec};
}

StatKind kind_of(const struct stat& st) {
  if (S_ISDIR(st.st_mode)) return StatKind::directory;
  if (S_ISREG(st.st_mode)) return StatKind::regular_file;
  return StatKind::other;
}

// The kind that a directory entry's type tells; nothing for a link, which
// stat follows, and for a file system that does not tell.
std::optional<StatKind> kind_of(unsigned char entry_type) {
  switch (entry_type) {
    case DT_LNK:
    case DT_UNKNOWN: return std::nullopt;
    case DT_DIR: return StatKind::directory;
    case DT_REG: return StatKind::regular_file;
    default: return StatKind::other;
  }
}

// Follows the links at the end of `path`; `st` receives the lstat of the path
// returned, all zero when nothing is there.
std::string resolve_links(const std::string& path, struct stat& st) {
  std::string current = path;
  for (int hop = 0;; ++hop) {
    if (::lstat(current.c_str(), &st) != 0) {
      st = {};
      return current;
    }
    // Past the last hop: a loop, still a link, which the writer refuses.
    if (!S_ISLNK(st.st_mode) || hop == max_link_hops) return current;
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
  ::fcntl(fd, F_SETFL, 0);  // blocking writes again
  bool ok = write_all(fd, text);
  return ::close(fd) == 0 && ok;
}

// A slot for a staged output; -1 when all are taken.
int take_staging_slot() {
  for (int slot = 1; slot < temp_slots; ++slot)
    if (!temp_registry[slot].taken.exchange(true)) return slot;
  return -1;
}

void release_slot(int slot) {
  temp_registry[slot].live.store(false);
  temp_registry[slot].taken.store(false);
}

// Creates a temporary file in the folder of `target`, named so that no
// listing of shaders or outputs picks it up, and registers it in `slot` for
// removal.
int create_temp(const std::string& target, std::string& temp, int slot) {
  std::size_t slash = target.rfind('/');
  std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  static const std::string process_id = std::to_string(::getpid());
  TempSlot& registered = temp_registry[slot];
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = folder + ".isf2orvy-" + process_id + "-" + std::to_string(next_temp_number++) + ".tmp";
    if (temp.size() >= sizeof registered.path) return -1;
    std::memcpy(registered.path, temp.c_str(), temp.size() + 1);
    registered.live.store(true);
    // Mode 0666 less the umask, as a file that fopen creates.
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return fd;
    registered.live.store(false);
    if (errno != EEXIST) return -1;
  }
  return -1;
}

// The text in a new temporary file beside `target`; false (and no file left)
// on any failure.
bool write_temp(const std::string& target, const std::string& text, std::string& temp, int slot,
                std::optional<mode_t> keep_mode) {
  int fd = create_temp(target, temp, slot);
  if (fd < 0) return false;
  if (keep_mode) ::fchmod(fd, *keep_mode);  // best effort: some file systems have no modes
  bool ok = write_all(fd, text);
  ok = ::close(fd) == 0 && ok;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

bool replace_file(const std::string& target, const std::string& text,
                  std::optional<mode_t> keep_mode) {
  std::string temp;
  bool ok = write_temp(target, text, temp, 0, keep_mode);
  if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
    ::unlink(temp.c_str());
    ok = false;
  }
  temp_registry[0].live.store(false);
  return ok;
}

}  // namespace

StatKind stat_kind(const std::string& path) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return StatKind::failed;
  return kind_of(st);
}

std::optional<std::vector<DirectoryEntry>> list_entries(const std::string& directory) {
  if (directory.empty()) return std::nullopt;
  DIR* dir = ::opendir(directory.c_str());
  if (dir == nullptr) return std::nullopt;
  std::vector<DirectoryEntry> entries;
  while (const dirent* entry = ::readdir(dir))
    entries.push_back({entry->d_name, kind_of(entry->d_type)});
  ::closedir(dir);
  std::sort(entries.begin(), entries.end(),
            [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
  return entries;
}

bool opens_for_reading(const std::string& path) {
  struct stat st {};
  InputFile file(path, st);
  return file.fd >= 0;
}

ReadStatus read_in_pieces(const std::string& path,
                          const std::function<bool(std::string_view)>& consume) {
  struct stat st {};
  InputFile file(path, st);
  if (file.fd < 0) return ReadStatus::cannot_open;
  return read_pieces(file.fd, consume);
}

ReadStatus read_file(const std::string& path, std::string& text,
                     std::optional<FileId>& identity, std::optional<FileStamp>* stamp) {
  text.clear();
  identity.reset();
  if (stamp != nullptr) stamp->reset();
  struct stat st {};
  InputFile file(path, st);
  if (file.fd < 0) return ReadStatus::cannot_open;
  identity = identity_of(st);
  if (stamp != nullptr) *stamp = stamp_of(st);
  if (S_ISREG(st.st_mode) && st.st_size > 0) text.reserve(static_cast<std::size_t>(st.st_size));
  return read_pieces(file.fd, [&text](std::string_view piece) {
    text.append(piece);
    return true;
  });
}

ReadStatus read_file(const std::string& path, std::string& text) {
  std::optional<FileId> identity;
  return read_file(path, text, identity);
}

std::optional<FileStamp> file_stamp(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return stamp_of(st);
}

std::optional<FileId> file_identity(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return identity_of(st);
}

// One lstat of a path that is no link answers everything; a loop of links
// (or a link that cannot be read) leaves the status of the path to stat.
OutputFile look_up_output(const std::string& path) {
  OutputFile output;
  struct stat st {};
  output.final_path = resolve_links(path, st);
  if (st.st_mode == 0) return output;  // nothing there
  if (S_ISLNK(st.st_mode)) {
    output.entry = StatKind::other;
    output.kind = stat_kind(path);
    output.identity = file_identity(path);
    return output;
  }
  output.entry = output.kind = kind_of(st);
  output.identity = identity_of(st);
  output.permissions = st.st_mode & 07777;
  return output;
}

bool write_file(const OutputFile& output, const std::string& text) {
  handle_signals_once();
  const std::string& target = output.final_path;
  if (output.entry == StatKind::failed) return replace_file(target, text, std::nullopt);
  // A device or FIFO is written in place; a folder or a loop of links fails there.
  if (output.entry != StatKind::regular_file) return write_in_place(target, text);
  if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return false;
  return replace_file(target, text, output.permissions);
}

bool write_file(const std::string& path, const std::string& text) {
  return write_file(look_up_output(path), text);
}

StagedOutput::StagedOutput(StagedOutput&& other) noexcept
    : temp_(std::move(other.temp_)), slot_(std::exchange(other.slot_, -1)) {}

StagedOutput& StagedOutput::operator=(StagedOutput&& other) noexcept {
  if (this != &other) {
    discard();
    temp_ = std::move(other.temp_);
    slot_ = std::exchange(other.slot_, -1);
  }
  return *this;
}

StagedOutput::~StagedOutput() { discard(); }

void StagedOutput::discard() {
  if (slot_ < 0) return;
  ::unlink(temp_.c_str());
  release_slot(slot_);
  slot_ = -1;
}

StagedOutput stage_output(const std::string& path, const std::string& text) {
  handle_signals_once();
  StagedOutput staged;
  int slot = take_staging_slot();
  if (slot < 0) return staged;
  if (!write_temp(path, text, staged.temp_, slot, std::nullopt)) {
    release_slot(slot);
    return staged;
  }
  staged.slot_ = slot;
  return staged;
}

bool StagedOutput::commit(const std::string& path) {
  if (slot_ < 0) return false;
  bool ok = ::rename(temp_.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temp_.c_str());
  release_slot(slot_);
  slot_ = -1;
  return ok;
}

bool stdout_is_terminal() { return ::isatty(STDOUT_FILENO) == 1; }

bool stderr_is_terminal() { return ::isatty(STDERR_FILENO) == 1; }

void keep_running_on_closed_pipes() { ::signal(SIGPIPE, SIG_IGN); }

int current_processor() { return ::sched_getcpu(); }

void move_off_processor(int processor) {
  cpu_set_t allowed;
  CPU_ZERO(&allowed);
  if (processor < 0 || processor >= CPU_SETSIZE ||
      ::sched_getaffinity(0, sizeof allowed, &allowed) != 0 || !CPU_ISSET(processor, &allowed) ||
      CPU_COUNT(&allowed) < 2)
    return;
  cpu_set_t elsewhere = allowed;
  CPU_CLR(processor, &elsewhere);
  // Setting the narrower set moves the thread at once; the wider one after
  // it changes nothing about where it runs now.
  if (::sched_setaffinity(0, sizeof elsewhere, &elsewhere) == 0)
    ::sched_setaffinity(0, sizeof allowed, &allowed);
}

}  // namespace platform
