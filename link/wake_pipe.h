#pragma once

namespace qrv {

// Lets one thread end another's poll(): the sleeper polls fd() with its other descriptors,
// the waker calls Wake(). Wakes coalesce; Drain() empties the pipe once woken.
class WakePipe {
 public:
  WakePipe();
  ~WakePipe();
  WakePipe(const WakePipe&) = delete;
  WakePipe& operator=(const WakePipe&) = delete;

  int fd() const { return read_fd_; }
  void Wake();
  void Drain();

 private:
  int read_fd_ = -1;
  int write_fd_ = -1;
};

}  // namespace qrv
