#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "wake_pipe.h"

namespace qrv {

WakePipe::WakePipe() {
  int fds[2];
  if (pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0) {
    error_ = errno;
    return;
  }
  handle_ = fds[0];
  other_ = fds[1];
}

WakePipe::~WakePipe() {
  if (error_ != 0) return;
  close(static_cast<int>(handle_));
  close(static_cast<int>(other_));
}

void WakePipe::Wake() {
  const char byte = 1;
  // A full pipe already holds a wake-up; nothing is lost by dropping this one.
  while (write(static_cast<int>(other_), &byte, 1) < 0 && errno == EINTR) {
  }
}

void WakePipe::Drain() {
  char bytes[64];
  while (read(static_cast<int>(handle_), bytes, sizeof bytes) > 0) {
  }
}

bool WakePipe::WaitFor(std::chrono::nanoseconds timeout) const {
  pollfd p{static_cast<int>(handle_), POLLIN, 0};
  if (timeout < std::chrono::nanoseconds::zero()) return poll(&p, 1, -1) > 0;
  const auto ns = timeout.count();
  const timespec limit{static_cast<time_t>(ns / 1'000'000'000), ns % 1'000'000'000};
  return ppoll(&p, 1, &limit, nullptr) > 0;
}

}  // namespace qrv
