// The parent hands out one shader at a time to each idle worker and waits for
// answers with the earliest deadline as its time-out. A worker answers with
// records (a kind byte, a four-byte length, the bytes): 'C' when the shader
// has compiled, 'R' with the result, 'E' when it cannot make its OpenGL
// context. A worker that ends while it holds a shader gives that shader its
// fault (crash, time or memory limit) and is replaced by a new one.
#include "worker_pool.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <deque>
#include <new>
#include <optional>

#include "child_process.h"
#include "gallery_messages.h"
#include "result_wire.h"

namespace gallery {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t no_job = static_cast<std::size_t>(-1);
constexpr std::size_t record_head = 5;

std::string index_bytes(std::size_t index) {
  std::string bytes;
  for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((index >> shift) & 0xFF);
  return bytes;
}

std::size_t read_index(std::string_view bytes) {
  std::size_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
  return value;
}

bool send_record(int socket, char kind, const std::string& payload) {
  std::string record(1, kind);
  record += index_bytes(payload.size());
  return os::send_all(socket, record + payload);
}

// The worker's side: one context for its whole life, then one shader per job.
int worker_main(int socket, std::vector<ShaderEntry>& entries, const RenderSettings& settings,
                const PoolSettings& pool) {
  try {
    std::optional<render::OffscreenContext> context;
    try {
      context.emplace(pool.width, pool.height);
    } catch (const std::bad_alloc&) {
      throw;
    } catch (const std::exception& error) {
      send_record(socket, 'E', error.what());
      return 1;
    }
    std::string job;
    while (os::receive_exact(socket, 4, job)) {
      std::size_t index = read_index(job);
      if (index >= entries.size()) return 1;
      ShaderEntry& entry = entries[index];
      try {
        if (compile_entry(*context, entry)) {
          if (!send_record(socket, 'C', {})) return 1;
          render_entry(*context, settings, entry);
        }
      } catch (const std::bad_alloc&) {
        throw;
      } catch (const std::exception& error) {
        entry.render_error = error.what();  // OpenGL failing outside the compiler's log
      }
      if (!send_record(socket, 'R', encode_result(entry))) return 1;
    }
    return 0;
  } catch (const std::bad_alloc&) {
    os::end_out_of_memory();
  }
}

struct Worker {
  std::optional<os::Child> child;
  std::size_t job = no_job;  // the entry it works on
  bool compiled = false;     // that entry has compiled
  bool answered = false;     // it has finished a shader
  Clock::time_point deadline;
  std::string inbox;
};

class Pool {
 public:
  Pool(std::vector<ShaderEntry>& entries, const RenderSettings& settings, const PoolSettings& pool,
       Progress& progress)
      : entries_(entries), settings_(settings), pool_(pool), progress_(progress) {}

  std::string run(std::deque<std::size_t> todo) {
    pending_ = std::move(todo);
    std::size_t total = pending_.size();
    workers_.resize(std::min<std::size_t>(static_cast<std::size_t>(std::max(pool_.workers, 1)), total));
    for (Worker& worker : workers_) start(worker);
    while (finished_ < total && hand_out()) {
      wait_and_read();
      stop_overdue();
    }
    for (Worker& worker : workers_)
      if (worker.child) os::close_for_writing(*worker.child);
    for (Worker& worker : workers_)
      if (worker.child) os::reap_child(*worker.child);
    if (finished_ == total) return {};
    return failure_.empty() ? messages::no_worker() : failure_;
  }

 private:
  void start(Worker& worker) {
    worker = Worker{};
    worker.child = os::start_child(
        [this](int socket) { return worker_main(socket, entries_, settings_, pool_); },
        pool_.memory_limit);
    if (!worker.child && failure_.empty()) failure_ = messages::no_process(os::last_error_text());
  }

  // Gives each idle worker the next shader; false when no worker is left.
  bool hand_out() {
    for (Worker& worker : workers_) {
      if (!worker.child || worker.job != no_job || pending_.empty()) continue;
      worker.job = pending_.front();
      pending_.pop_front();
      worker.compiled = false;
      worker.deadline = Clock::now() + std::chrono::seconds(pool_.time_limit);
      if (os::send_all(worker.child->socket, index_bytes(worker.job))) continue;
      // It ended while idle: the shader waits for another worker.
      pending_.push_front(worker.job);
      worker.job = no_job;
      ended(worker, false);
    }
    return std::any_of(workers_.begin(), workers_.end(),
                       [](const Worker& worker) { return worker.child.has_value(); });
  }

  void wait_and_read() {
    std::vector<int> sockets;
    std::vector<Worker*> polled;
    std::optional<Clock::time_point> soonest;
    for (Worker& worker : workers_) {
      if (!worker.child) continue;
      sockets.push_back(worker.child->socket);
      polled.push_back(&worker);
      if (worker.job != no_job && (!soonest || worker.deadline < *soonest)) soonest = worker.deadline;
    }
    int timeout = -1;
    if (soonest) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*soonest - Clock::now());
      timeout = static_cast<int>(std::max<long long>(0, left.count()) + 1);
    }
    std::vector<bool> readable = os::wait_readable(sockets, timeout);
    for (std::size_t i = 0; i < polled.size(); ++i) {
      if (!readable[i]) continue;
      Worker& worker = *polled[i];
      bool open = os::receive_some(worker.child->socket, worker.inbox);
      read_records(worker);
      if (!open) ended(worker, false);
    }
  }

  void read_records(Worker& worker) {
    std::string& inbox = worker.inbox;
    std::size_t at = 0;
    while (inbox.size() - at >= record_head) {
      std::size_t size = read_index(std::string_view(inbox).substr(at + 1, 4));
      if (inbox.size() - at - record_head < size) break;
      char kind = inbox[at];
      std::string_view payload = std::string_view(inbox).substr(at + record_head, size);
      at += record_head + size;
      if (kind == 'C') {
        worker.compiled = true;
      } else if (kind == 'E') {
        if (failure_.empty()) failure_ = std::string(payload);
      } else if (kind == 'R' && worker.job != no_job) {
        ShaderEntry& entry = entries_[worker.job];
        if (!decode_result(payload, entry)) entry.render_error = messages::answer_cut_short();
        finish(worker);
      }
    }
    inbox.erase(0, at);
  }

  void finish(Worker& worker) {
    progress_.advance(entries_[worker.job]);
    worker.job = no_job;
    worker.answered = true;
    ++finished_;
  }

  // The worker has ended, or was stopped at its deadline: its shader, if it
  // held one, gets the fault, and a new worker takes its place. One that
  // ends before its first shader (no context) is not replaced.
  void ended(Worker& worker, bool stopped) {
    os::ChildEnd end = os::reap_child(*worker.child);
    worker.child.reset();
    if (worker.job == no_job) {
      if (worker.answered) start(worker);
      return;
    }
    WorkerFault fault;
    fault.while_rendering = worker.compiled;
    if (stopped) {
      fault.kind = Fault::time_limit;
      fault.seconds = pool_.time_limit;
    } else if (end.out_of_memory) {
      fault.kind = Fault::out_of_memory;
    } else {
      fault.kind = Fault::crashed;
      fault.signal = end.signal;
    }
    ShaderEntry& entry = entries_[worker.job];
    entry.compiled = worker.compiled;
    entry.fault = fault;
    if (fault.while_rendering) entry.render_error = messages::fault_summary(fault);
    entry.explanations.push_back(messages::fault_explanation(fault));
    finish(worker);
    start(worker);
  }

  void stop_overdue() {
    Clock::time_point now = Clock::now();
    for (Worker& worker : workers_) {
      if (!worker.child || worker.job == no_job || now < worker.deadline) continue;
      os::stop_child(*worker.child);
      ended(worker, true);
    }
  }

  std::vector<ShaderEntry>& entries_;
  const RenderSettings& settings_;
  const PoolSettings& pool_;
  Progress& progress_;
  std::vector<Worker> workers_;
  std::deque<std::size_t> pending_;
  std::size_t finished_ = 0;
  std::string failure_;
};

}  // namespace

std::string render_in_workers(std::vector<ShaderEntry>& entries, const RenderSettings& settings,
                              const PoolSettings& pool, Progress& progress) {
  std::deque<std::size_t> todo;
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (entries[i].frag_written) todo.push_back(i);
  if (todo.empty()) return {};
  return Pool(entries, settings, pool, progress).run(std::move(todo));
}

}  // namespace gallery
