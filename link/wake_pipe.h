#pragma once

#include <chrono>
#include <cstdint>

namespace qrv {

// Lets one thread end another's wait: the sleeper waits on handle() with its devices (or
// alone, WaitFor), the waker calls Wake(). Wakes coalesce; Drain() clears them once woken.
// Making it may fail (no descriptors or handles left): error() tells, and the owner decides.
class WakePipe {
 public:
  WakePipe();
  ~WakePipe();
  WakePipe(const WakePipe&) = delete;
  WakePipe& operator=(const WakePipe&) = delete;

  // What the system waits on: the read end of a pipe (POSIX), an event (Windows).
  std::intptr_t handle() const { return handle_; }
  // The system's error number from making it; 0 when it was made.
  int error() const { return error_; }
  void Wake();
  void Drain();
  // Waits up to timeout (negative: for ever) for a wake-up; whether one came.
  bool WaitFor(std::chrono::nanoseconds timeout) const;

 private:
  std::intptr_t handle_ = -1;
  std::intptr_t other_ = -1;  // the pipe's write end; unused for an event
  int error_ = 0;
};

}  // namespace qrv
