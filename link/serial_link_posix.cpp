#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <deque>
#include <mutex>
#include <thread>

#include "frames.h"
#include "line_assembler.h"
#include "serial_link.h"
#include "wake_pipe.h"

namespace qrv {
namespace {

using Clock = std::chrono::steady_clock;

// Frames waiting for a line held by flow control; beyond this they are dropped, and the
// watchdog reports them like any unanswered frame.
constexpr std::size_t kMaxQueuedFrames = 128;

int MillisecondsUntil(Clock::time_point when) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(when - Clock::now()).count();
  return static_cast<int>(std::clamp<long long>(left, 0, 60'000));
}

}  // namespace

struct SerialLink::Impl {
  LinkState& link;
  LineSink on_line;
  std::string device;
  WakePipe wake;
  std::thread thread;
  std::atomic<bool> open{false};

  std::mutex queue_mutex;
  std::deque<std::string> queue;  // frames handed over by SendFrame, oldest first

  // Owned by the reader thread once it runs.
  int fd = -1;
  LineAssembler assembler;
  std::string writing;  // the frame on its way to the line
  std::size_t written = 0;
  bool has_write = false;
  Clock::time_point write_deadline;
  Clock::time_point next_reopen;

  Impl(LinkState& l, LineSink sink) : link(l), on_line(std::move(sink)) {}

  void Run() {
    while (link.ReaderRunning.load() != 0) {
      if (fd < 0)
        WaitForPort();
      else
        Serve();
    }
    if (fd >= 0) tcflush(fd, TCIFLUSH);
  }

  void DropQueuedFrames() {
    std::lock_guard<std::mutex> lock(queue_mutex);
    queue.clear();
  }

  // No port: sleep until shutdown, or until it is time to look for the device again.
  void WaitForPort() {
    pollfd p{wake.fd(), POLLIN, 0};
    const int timeout = device.empty() ? -1 : MillisecondsUntil(next_reopen);
    const int ready = poll(&p, 1, timeout);
    wake.Drain();
    DropQueuedFrames();
    if (ready != 0 || link.ReaderRunning.load() == 0) return;
    next_reopen = Clock::now() + std::chrono::milliseconds(kReopenPeriodMs);
    const PortOpenResult result = OpenPortDevice(device);
    if (result.fd < 0) return;
    fd = result.fd;
    assembler.Reset();
    open = true;
  }

  void Serve() {
    if (!has_write) TakeFrame();
    pollfd fds[2] = {{fd, static_cast<short>(POLLIN | (has_write ? POLLOUT : 0)), 0},
                     {wake.fd(), POLLIN, 0}};
    const int timeout = has_write ? MillisecondsUntil(write_deadline) : -1;
    if (poll(fds, 2, timeout) < 0 && errno != EINTR) return;
    if (fds[1].revents != 0) wake.Drain();
    const short events = fds[0].revents;
    if ((events & POLLIN) != 0) {
      if (!ReadOnce()) return Disconnect();
    } else if ((events & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
      return Disconnect();
    }
    if (has_write && !WriteSome()) return Disconnect();
  }

  // One read of at most 500 bytes; false when the port has gone.
  bool ReadOnce() {
    char chunk[LineAssembler::kMaxReadBytes];
    const ssize_t n = read(fd, chunk, sizeof chunk);
    if (n > 0) {
      if (auto line = assembler.Feed({chunk, static_cast<std::size_t>(n)}))
        on_line(std::move(*line));
      return true;
    }
    return n < 0 && (errno == EAGAIN || errno == EINTR);
  }

  void TakeFrame() {
    std::lock_guard<std::mutex> lock(queue_mutex);
    has_write = !queue.empty();
    if (!has_write) return;
    writing = std::move(queue.front());
    queue.pop_front();
    written = 0;
    write_deadline = Clock::now() + std::chrono::milliseconds(kWriteLimitMs);
  }

  // Puts as much as the line takes now; false when the port has gone.
  bool WriteSome() {
    while (has_write) {
      if (written == writing.size()) {
        TakeFrame();
        continue;
      }
      const ssize_t n = write(fd, writing.data() + written, writing.size() - written);
      if (n > 0) {
        written += static_cast<std::size_t>(n);
      } else if (n < 0 && errno == EINTR) {
        continue;
      } else if (n < 0 && errno == EAGAIN) {
        break;
      } else {
        return false;
      }
    }
    // Held by flow control for the whole limit: the rest of this frame is given up.
    if (has_write && Clock::now() >= write_deadline) TakeFrame();
    return true;
  }

  // The device went away (unplugged adapter, closed peer): forget it and look again later.
  void Disconnect() {
    ClosePortDevice(fd);
    fd = -1;
    open = false;
    assembler.Reset();
    has_write = false;
    writing.clear();
    DropQueuedFrames();
    next_reopen = Clock::now() + std::chrono::milliseconds(kReopenPeriodMs);
  }
};

SerialLink::SerialLink(LinkState& link, LineSink on_line)
    : link_(link), impl_(std::make_unique<Impl>(link, std::move(on_line))) {}

SerialLink::~SerialLink() {
  Stop();
  ClosePortDevice(impl_->fd);
}

PortStatus SerialLink::OpenSerialPort(const std::string& device, Reporter& reporter) {
  impl_->device = device;
  const PortOpenResult result = OpenPortDevice(device);
  impl_->fd = result.fd;
  impl_->open = result.fd >= 0;
  impl_->next_reopen = Clock::now() + std::chrono::milliseconds(kReopenPeriodMs);
  ReportPortWarnings(result.status, reporter);
  return result.status;
}

void SerialLink::Start() {
  if (impl_->thread.joinable()) return;
  link_.ReaderRunning = 1;
  impl_->thread = std::thread([this] { impl_->Run(); });
}

void SerialLink::Stop() {
  link_.ReaderRunning = 0;
  if (!impl_->thread.joinable()) return;
  impl_->wake.Wake();
  impl_->thread.join();
}

bool SerialLink::SendFrame(std::string_view frame) {
  if (frame.size() > kMaxFrameBytes) return false;
  {
    std::lock_guard<std::mutex> lock(impl_->queue_mutex);
    if (impl_->queue.size() < kMaxQueuedFrames) impl_->queue.emplace_back(frame);
  }
  impl_->wake.Wake();
  link_.AnswerPending = 1;
  return true;
}

bool SerialLink::port_open() const {
  return impl_->open;
}

const std::string& SerialLink::device() const {
  return impl_->device;
}

}  // namespace qrv
