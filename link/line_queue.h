#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>

namespace qrv {

// Hands lines from the reader thread to the thread that dispatches them, in order.
class LineQueue {
 public:
  void Push(std::string line) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      lines_.push_back(std::move(line));
    }
    ready_.notify_one();
  }

  // The oldest line, waiting at most timeout for one to arrive.
  std::optional<std::string> Pop(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!ready_.wait_for(lock, timeout, [this] { return !lines_.empty(); })) return std::nullopt;
    std::string line = std::move(lines_.front());
    lines_.pop_front();
    return line;
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::string> lines_;
};

}  // namespace qrv
