// The operating system's part of the gallery's worker processes, the one
// place where it is reached (the gallery runs on Linux): starting a child
// with a memory limit, the socket between parent and child, waiting with a
// time limit, stopping a child and learning how it ended.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gallery::os {

struct Child {
  int pid = -1;
  int socket = -1;            // the parent's end, both directions
  volatile int* out_of_memory = nullptr;  // set by the child, shared with the parent
};

// Starts a child process that runs `body(socket)` and ends with its return
// value. Its address space is limited to `memory_limit` bytes (0: none; not
// in builds with the address sanitizer, whose shadow memory needs more).
// The child ends when the parent does. Nothing when no process can start.
std::optional<Child> start_child(const std::function<int(int socket)>& body,
                                 std::size_t memory_limit);

// In a child: ends it at once, as ending out of memory.
[[noreturn]] void end_out_of_memory();

// Every byte of `bytes`; false when the other end is gone.
bool send_all(int socket, std::string_view bytes);

// Exactly `size` bytes into `into` (child side, blocking); false at the end
// of the stream or on an error.
bool receive_exact(int socket, std::size_t size, std::string& into);

// What one socket has to read now, appended to `into`; false at the end of
// the stream (the child has ended) or on an error.
bool receive_some(int socket, std::string& into);

// Waits until one of `sockets` has something to read, or `timeout_ms` has
// passed; true for each that has.
std::vector<bool> wait_readable(const std::vector<int>& sockets, int timeout_ms);

// Tells the child that no more jobs will come.
void close_for_writing(const Child& child);

// Kills the child at once.
void stop_child(const Child& child);

struct ChildEnd {
  int signal = 0;       // the signal that ended it, 0 when it exited
  int exit_status = 0;  // when it exited
  bool out_of_memory = false;
};

// Waits for the child to end and frees its resources.
ChildEnd reap_child(Child& child);

// The system's words for the last failed call (errno).
std::string last_error_text();

}  // namespace gallery::os
