#pragma once

namespace qrv {

// Lets one thread end another's poll(): the sleeper polls fd() with its other descriptors,
// the waker calls Wake(). Wakes coalesce; Drain() empties the pipe once woken.
// Making the pipe may fail (no descriptors left): error() tells, and the owner decides.
class WakePipe {
 public:
  WakePipe();
  ~WakePipe();
  WakePipe(const WakePipe&) = delete;
  WakePipe& operator=(const WakePipe&) = delete;

  int fd() const { return read_fd_; }
  // errno of making the pipe; 0 when it was made.
  int error() const { return error_; }
  void Wake();
  void Drain();

 private:
  int read_fd_ = -1;
  int write_fd_ = -1;
  int error_ = 0;
};

}  // namespace qrv
