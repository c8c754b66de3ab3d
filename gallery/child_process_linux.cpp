// Linux side of the worker processes: fork(2) with a socketpair(2), the
// address-space limit of setrlimit(2), poll(2) for the time limit and
// waitpid(2) for the end. A crash in a child is told apart from running out of
// memory by a signal handler on its own stack, which looks at errno and at
// the process's size (/proc/self/statm) before the process ends by the signal.
#include "child_process.h"

#include <poll.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
#define ISF2ORVY_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ISF2ORVY_ASAN 1
#endif
#endif

namespace gallery::os {
namespace {

// The child's memory limit and its flag, for the crash handler.
std::size_t child_memory_limit = 0;
std::size_t page_size = 4096;
volatile int* child_flag = nullptr;
char crash_stack[64 * 1024];

// The process's size in bytes, read with async-signal-safe calls only.
std::size_t process_size() {
  int fd = ::open("/proc/self/statm", O_RDONLY);
  if (fd < 0) return 0;
  char text[64];
  ssize_t n = ::read(fd, text, sizeof text - 1);
  ::close(fd);
  std::size_t pages = 0;
  for (ssize_t i = 0; i < n && text[i] >= '0' && text[i] <= '9'; ++i)
    pages = pages * 10 + static_cast<std::size_t>(text[i] - '0');
  return pages * page_size;
}

// A failed allocation leaves errno at ENOMEM, or the process close to its
// limit (a large request fails with a quarter of the limit still free).
extern "C" void note_crash(int signal_number) {
  int error = errno;
  if (child_flag != nullptr &&
      (error == ENOMEM || (child_memory_limit > 0 && process_size() >= child_memory_limit / 4 * 3)))
    *child_flag = 1;
  ::raise(signal_number);  // the handler was reset: the process ends by the signal
}

void handle_crashes() {
  stack_t stack{};
  stack.ss_sp = crash_stack;
  stack.ss_size = sizeof crash_stack;
  ::sigaltstack(&stack, nullptr);
  for (int signal_number : {SIGSEGV, SIGBUS, SIGABRT, SIGILL, SIGFPE}) {
    struct sigaction action {};
    action.sa_handler = note_crash;
    action.sa_flags = SA_ONSTACK | SA_RESETHAND | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal_number, &action, nullptr);
  }
}

// The limit that the child gets: none where the sanitizer's shadow memory
// makes the address space huge from the start.
std::size_t usable_limit(std::size_t bytes) {
#ifdef ISF2ORVY_ASAN
  (void)bytes;
  return 0;
#else
  return bytes;
#endif
}

void limit_memory(std::size_t bytes) {
  if (bytes == 0) return;
  struct rlimit limit {};
  limit.rlim_cur = limit.rlim_max = bytes;
  ::setrlimit(RLIMIT_AS, &limit);
}

}  // namespace

std::optional<Child> start_child(const std::function<int(int socket)>& body,
                                 std::size_t memory_limit) {
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return std::nullopt;
  void* shared = ::mmap(nullptr, sizeof(int), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  if (shared == MAP_FAILED) {
    ::close(ends[0]);
    ::close(ends[1]);
    return std::nullopt;
  }
  Child child;
  child.out_of_memory = static_cast<volatile int*>(shared);
  *child.out_of_memory = 0;
  pid_t parent = ::getpid();
  pid_t pid = ::fork();
  if (pid == 0) {
    ::close(ends[0]);
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(1);
    child_memory_limit = usable_limit(memory_limit);
    page_size = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    child_flag = child.out_of_memory;
    handle_crashes();
    limit_memory(child_memory_limit);
    ::_exit(body(ends[1]));
  }
  ::close(ends[1]);
  if (pid < 0) {
    ::close(ends[0]);
    ::munmap(shared, sizeof(int));
    return std::nullopt;
  }
  child.pid = pid;
  child.socket = ends[0];
  return child;
}

void end_out_of_memory() {
  if (child_flag != nullptr) *child_flag = 1;
  ::_exit(1);
}

bool send_all(int socket, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool receive_exact(int socket, std::size_t size, std::string& into) {
  into.resize(size);
  std::size_t done = 0;
  while (done < size) {
    ssize_t n = ::read(socket, into.data() + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool receive_some(int socket, std::string& into) {
  char buffer[1 << 16];
  for (;;) {
    ssize_t n = ::recv(socket, buffer, sizeof buffer, MSG_DONTWAIT);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
    if (n <= 0) return false;
    into.append(buffer, static_cast<std::size_t>(n));
  }
}

std::vector<bool> wait_readable(const std::vector<int>& sockets, int timeout_ms) {
  std::vector<pollfd> polled(sockets.size());
  for (std::size_t i = 0; i < sockets.size(); ++i) polled[i] = {sockets[i], POLLIN, 0};
  int ready = ::poll(polled.data(), polled.size(), timeout_ms);
  std::vector<bool> readable(sockets.size(), false);
  for (std::size_t i = 0; ready > 0 && i < sockets.size(); ++i)
    readable[i] = (polled[i].revents & (POLLIN | POLLHUP | POLLERR)) != 0;
  return readable;
}

void close_for_writing(const Child& child) { ::shutdown(child.socket, SHUT_WR); }

void stop_child(const Child& child) { ::kill(child.pid, SIGKILL); }

ChildEnd reap_child(Child& child) {
  ChildEnd end;
  int status = 0;
  while (::waitpid(child.pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFSIGNALED(status)) end.signal = WTERMSIG(status);
  if (WIFEXITED(status)) end.exit_status = WEXITSTATUS(status);
  end.out_of_memory = *child.out_of_memory != 0;
  ::close(child.socket);
  ::munmap(const_cast<int*>(child.out_of_memory), sizeof(int));
  child = Child{};
  return end;
}

std::string last_error_text() { return std::strerror(errno); }

}  // namespace gallery::os
