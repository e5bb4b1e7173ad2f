// The one thread that owns the module: jobs run one at a time, in the order they came, from
// a bounded queue. The module is process-wide state, so nothing else ever calls it.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace ecfd {

class PrinterWorker {
 public:
  // A job learns whether it runs (true) or is dropped at shutdown (false).
  using Job = std::function<void(bool run)>;

  explicit PrinterWorker(std::size_t limit) : limit_(limit) {}
  ~PrinterWorker() { stop(); }
  PrinterWorker(const PrinterWorker&) = delete;
  PrinterWorker& operator=(const PrinterWorker&) = delete;

  void start();
  // False when the queue already holds `limit` jobs waiting (the job is not taken).
  bool submit(Job job);
  // Jobs waiting plus the one running.
  std::size_t depth() const;
  // The running job finishes; the waiting ones are dropped; the thread ends.
  void stop();

 private:
  void run();

  const std::size_t limit_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Job> jobs_;
  bool running_ = false;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace ecfd
