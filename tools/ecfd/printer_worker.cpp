#include "printer_worker.h"

namespace ecfd {

void PrinterWorker::start() { thread_ = std::thread([this] { run(); }); }

bool PrinterWorker::submit(Job job) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_ || jobs_.size() >= limit_) return false;
    jobs_.push_back(std::move(job));
  }
  wake_.notify_one();
  return true;
}

std::size_t PrinterWorker::depth() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return jobs_.size() + (running_ ? 1 : 0);
}

void PrinterWorker::stop() {
  std::deque<Job> dropped;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    dropped.swap(jobs_);
  }
  wake_.notify_all();
  for (Job& job : dropped) job(false);
  if (thread_.joinable()) thread_.join();
}

void PrinterWorker::run() {
  while (true) {
    Job job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      if (jobs_.empty()) return;  // stopping
      job = std::move(jobs_.front());
      jobs_.pop_front();
      running_ = true;
    }
    job(true);
    std::lock_guard<std::mutex> lock(mutex_);
    running_ = false;
  }
}

}  // namespace ecfd
