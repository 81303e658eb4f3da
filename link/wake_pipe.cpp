#include "wake_pipe.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace qrv {

WakePipe::WakePipe() {
  int fds[2];
  if (pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0) {
    error_ = errno;
    return;
  }
  read_fd_ = fds[0];
  write_fd_ = fds[1];
}

WakePipe::~WakePipe() {
  if (error_ != 0) return;
  close(read_fd_);
  close(write_fd_);
}

void WakePipe::Wake() {
  const char byte = 1;
  // A full pipe already holds a wake-up; nothing is lost by dropping this one.
  while (write(write_fd_, &byte, 1) < 0 && errno == EINTR) {
  }
}

void WakePipe::Drain() {
  char bytes[64];
  while (read(read_fd_, bytes, sizeof bytes) > 0) {
  }
}

}  // namespace qrv
