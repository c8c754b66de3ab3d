// The read-ahead thread and its window. The thread works through the list
// in order and keeps at most `window_shaders` shaders (and, past the first,
// `window_bytes` of converted text) waiting for their turn, so the memory of
// a batch is that of a few shaders whatever its length.
//
// While enough shaders wait, the thread also writes their outputs ahead,
// never the next one to be taken (the calling thread would have to wait for
// it). Example, window 3, writing ahead from 2 waiting, shaders a b c d e:
// the thread reads and converts a, then b; two wait, so it writes b's
// output ahead; it reads c and writes c's ahead; the window is full and
// nothing is left to write, so it waits until half of it is free. The
// calling thread takes a (writes its output itself), b and c (renames what
// was written); the thread goes on with d and e.
#include "driver/conversion_pipeline.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>

#include "driver/read_ahead.h"
#include "platform/platform.h"

namespace driver {
namespace {

constexpr std::size_t window_shaders = 16;
constexpr std::size_t window_bytes = std::size_t{32} << 20;
// Once this many shaders wait, the thread writes their outputs ahead before
// it reads on.
constexpr std::size_t stage_ahead = 4;

class ReadAheadThread {
 public:
  ReadAheadThread(const std::vector<std::string>& shaders, const std::string& shader_kind,
                  const ListedFolder* output_folder)
      : shaders_(shaders), shader_kind_(shader_kind), output_folder_(output_folder) {
    try {
      int starter = platform::current_processor();
      thread_ = std::thread([this, starter] {
        platform::move_off_processor(starter);
        work();
      });
    } catch (...) {
      // No second thread: every shader is read at its turn.
    }
  }
  ~ReadAheadThread() {
    if (!thread_.joinable()) return;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    room_.notify_one();
    thread_.join();
    // The outputs written ahead for shaders that never got their turn go
    // with the window.
  }
  ReadAheadThread(const ReadAheadThread&) = delete;
  ReadAheadThread& operator=(const ReadAheadThread&) = delete;

  // The early work on the next shader in list order, once it is done;
  // nothing (read it at its turn) when the thread could not do it.
  ReadAhead take() {
    if (!thread_.joinable()) return {};
    std::unique_lock<std::mutex> lock(mutex_);
    ready_.wait(lock, [this] {
      return (!waiting_.empty() && !waiting_.front().staging) || gave_up_;
    });
    if (waiting_.empty()) return {};
    ReadAhead ahead = std::move(waiting_.front().ahead);
    waiting_bytes_ -= waiting_.front().bytes;
    waiting_.pop_front();
    bool wake = half_empty();
    lock.unlock();
    if (wake) room_.notify_one();
    return ahead;
  }

 private:
  struct Waiting {
    ReadAhead ahead;
    const std::string* shader;
    std::size_t bytes;
    bool stage_tried = false;
    bool staging = false;  // its output is being written ahead
  };

  bool has_room() const {
    return waiting_.empty() || (waiting_.size() < window_shaders && waiting_bytes_ < window_bytes);
  }
  bool half_empty() const {
    return waiting_.empty() ||
           (waiting_.size() <= window_shaders / 2 && waiting_bytes_ < window_bytes / 2);
  }

  // The oldest shader but the next one to be taken whose output may be
  // written ahead; null when there is none.
  Waiting* to_stage() {
    if (output_folder_ == nullptr) return nullptr;
    for (std::size_t i = 1; i < waiting_.size(); ++i) {
      Waiting& item = waiting_[i];
      const ReadAhead& ahead = item.ahead;
      if (!item.stage_tried && ahead.stamp && !ahead.several_passes &&
          !convert::gives_no_text(ahead.conversion.header))
        return &item;
    }
    return nullptr;
  }

  void stage(Waiting& item) {
    std::string target = new_output_file(*item.shader, shader_kind_, *output_folder_);
    if (target.empty()) return;
    item.ahead.staged = platform::stage_output(target, item.ahead.conversion.text);
    if (item.ahead.staged.staged()) item.ahead.staged_for = std::move(target);
  }

  // Reads ahead while the window has room; while it is full, writes the
  // outputs of the shaders waiting in it, so that their turn only puts
  // them in place. Once the whole list is read and nothing is left to
  // write ahead, the thread ends.
  void work() {
    try {
      std::unique_lock<std::mutex> lock(mutex_);
      std::size_t next = 0;
      while (!stopping_) {
        Waiting* item = waiting_.size() >= stage_ahead ? to_stage() : nullptr;
        if (item == nullptr && next < shaders_.size() && has_room()) {
          const std::string& shader = shaders_[next++];
          lock.unlock();
          ReadAhead ahead = read_ahead(shader);
          std::size_t bytes = ahead.conversion.text.size();
          lock.lock();
          waiting_.push_back(Waiting{std::move(ahead), &shader, bytes});
          waiting_bytes_ += bytes;
          ready_.notify_one();
        } else if (item != nullptr || (item = to_stage()) != nullptr) {
          item->stage_tried = item->staging = true;
          lock.unlock();
          stage(*item);
          lock.lock();
          item->staging = false;
          ready_.notify_one();
        } else if (next < shaders_.size()) {
          // Waits until half the window is free, so that the two threads
          // do not wake each other for every shader.
          room_.wait(lock, [this] { return stopping_ || half_empty(); });
        } else {
          return;
        }
      }
    } catch (...) {
      std::lock_guard<std::mutex> lock(mutex_);
      gave_up_ = true;
    }
    ready_.notify_one();
  }

  const std::vector<std::string>& shaders_;
  const std::string& shader_kind_;
  const ListedFolder* output_folder_;
  std::mutex mutex_;
  std::condition_variable ready_;  // a shader is waiting, or the thread gave up
  std::condition_variable room_;   // the window has room, or the batch ended
  std::deque<Waiting> waiting_;
  std::size_t waiting_bytes_ = 0;
  bool stopping_ = false;
  bool gave_up_ = false;
  std::thread thread_;  // last: it starts once everything above is ready
};

}  // namespace

ConvertStatus convert_in_order(const std::vector<std::string>& shaders,
                               const std::string& output_path, const std::string& shader_kind,
                               const MessageSink& sink, BatchKnowledge folders) {
  ConvertStatus worst = ConvertStatus::converted;
  auto take_one = [&](const std::string& shader, ReadAhead* ahead) {
    BatchKnowledge known = folders;
    known.ahead = ahead;
    ConvertStatus status =
        convert_shader_file(shader, output_path, shader_kind, sink, false, known).status;
    if (status == ConvertStatus::failed || status == ConvertStatus::fatal) worst = status;
    return status != ConvertStatus::fatal;
  };
  // One shader, or one processor: nothing to overlap.
  if (shaders.size() < 2 || std::thread::hardware_concurrency() < 2) {
    for (const std::string& shader : shaders)
      if (!take_one(shader, nullptr)) break;
    return worst;
  }
  ReadAheadThread thread(shaders, shader_kind, folders.output_folder);
  for (const std::string& shader : shaders) {
    ReadAhead ahead = thread.take();
    if (!take_one(shader, &ahead)) break;
  }
  return worst;
}

}  // namespace driver
