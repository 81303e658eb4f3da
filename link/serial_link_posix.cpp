#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

#include "frames.h"
#include "line_assembler.h"
#include "response_dispatcher.h"
#include "serial_link.h"

#include "messages.h"
#include "tcp_port.h"
#include "wake_pipe.h"

namespace qrv {
namespace {

using Clock = std::chrono::steady_clock;

// Frames waiting for a line held by flow control; beyond this they are dropped, and the
// watchdog reports them like any unanswered frame.
constexpr std::size_t kMaxQueuedFrames = 128;
// How often a terminal's output queue is looked at while it sends a frame: poll() has no
// event for an empty queue.
constexpr int kSendingCheckMs = 10;

int MillisecondsUntil(Clock::time_point when) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(when - Clock::now()).count();
  return static_cast<int>(std::clamp<long long>(left, 0, 60'000));
}

// Where the board's first answer starts in line: at its start or right after a CR LF;
// npos when it holds none.
std::size_t AnswerStart(std::string_view line) {
  for (std::size_t pos = 0; pos < line.size();) {
    if (IsBoardAnswer(line.substr(pos))) return pos;
    pos = line.find("\r\n", pos);
    if (pos == std::string_view::npos) break;
    pos += 2;
  }
  return std::string_view::npos;
}

}  // namespace

struct SerialLink::Impl {
  LinkState& link;
  LineSink on_line;
  std::string device;
  bool tcp = false;
  TrafficLog* log = nullptr;
  TrafficRecorder* recorder = nullptr;
  WakePipe wake;
  std::thread thread;
  std::atomic<bool> open{false};

  std::mutex queue_mutex;
  std::deque<std::string> queue;  // frames handed over by SendFrame, oldest first

  // Owned by the reader thread once it runs.
  int fd = -1;
  LineAssembler assembler;
  bool each_line = false;  // every LF ends a line, not only a read's last byte
  bool skipping = false;   // dropping a device server's greeting
  std::string writing;     // the frame on its way to the line
  std::size_t written = 0;
  bool has_write = false;
  Clock::time_point write_deadline;
  Clock::time_point next_reopen;

  Impl(LinkState& l, LineSink sink) : link(l), on_line(std::move(sink)) {}

  // Every entry of the traffic goes to the log and the recorder from here.
  void Note(TrafficDirection direction, std::string_view bytes) {
    if (log != nullptr) log->Record(direction, device, bytes);
    if (recorder != nullptr) recorder->Record(direction, device, bytes);
  }

  void Run() {
    while (link.ReaderRunning.load() != 0) {
      if (fd < 0)
        WaitForPort();
      else
        Serve();
    }
    if (fd >= 0 && !tcp) tcflush(fd, TCIFLUSH);
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
    // The wake-up pipe cuts a slow connect short, so Stop never waits for one; a wake-up
    // that was only a frame (dropped, as without a port) lets it start again at once.
    const PortOpenResult result = OpenPortDevice(device, wake.fd());
    if (result.error == ECANCELED) next_reopen = Clock::now();
    if (result.fd < 0) return;
    Opened(result.fd);
  }

  void Opened(int port) {
    fd = port;
    assembler.Reset();
    skipping = tcp;
    open = true;
  }

  void Serve() {
    if (!has_write) TakeFrame();
    const bool sending = has_write && written == writing.size();  // all with the kernel
    pollfd fds[2] = {{fd, static_cast<short>(POLLIN | (has_write && !sending ? POLLOUT : 0)), 0},
                     {wake.fd(), POLLIN, 0}};
    int timeout = has_write ? MillisecondsUntil(write_deadline) : -1;
    if (sending) timeout = std::min(timeout, kSendingCheckMs);
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
      const std::string_view bytes(chunk, static_cast<std::size_t>(n));
      if (each_line) {
        for (std::string& line : assembler.FeedEachLine(bytes)) DeliverLine(line);
      } else if (auto line = assembler.Feed(bytes)) {
        DeliverLine(*line);
      }
      return true;
    }
    return n < 0 && (errno == EAGAIN || errno == EINTR);
  }

  void DeliverLine(std::string& line) {
    if (skipping) {
      const std::size_t start = AnswerStart(line);
      if (start != 0) Note(TrafficDirection::kSkipped, std::string_view(line).substr(0, start));
      if (start == std::string::npos) return;
      line.erase(0, start);
      skipping = false;
    }
    Note(TrafficDirection::kReceived, line);
    on_line(std::move(line));
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

  // Bytes a terminal's kernel still holds for the line; none for a network connection.
  int KernelHeld() const {
    int n = 0;
    return !tcp && ioctl(fd, TIOCOUTQ, &n) == 0 ? n : 0;
  }

  // Puts as much as the line takes now; false when the port has gone. A frame is done once
  // the kernel has sent it too, so its deadline also covers the kernel's queue.
  bool WriteSome() {
    while (has_write) {
      if (written == writing.size()) {
        if (KernelHeld() > 0) break;
        TakeFrame();
        continue;
      }
      const char* bytes = writing.data() + written;
      const std::size_t size = writing.size() - written;
      // A closed connection must come back as EPIPE, not as a signal that ends the program.
      const ssize_t n = tcp ? send(fd, bytes, size, MSG_NOSIGNAL) : write(fd, bytes, size);
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
    // Held by flow control for the whole limit: the rest of this frame is given up, also
    // what the kernel holds, or a board attached later would get it.
    if (has_write && Clock::now() >= write_deadline) {
      if (!tcp) tcflush(fd, TCOFLUSH);
      TakeFrame();
    }
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
  const PortStatus status = OpenPort(device).status;
  ReportPortWarnings(status, reporter);
  return status;
}

PortOpenResult SerialLink::OpenPort(const std::string& device) {
  impl_->device = device;
  impl_->tcp = IsTcpDevice(device);
  const PortOpenResult result = OpenPortDevice(device);
  if (result.fd >= 0) impl_->Opened(result.fd);
  impl_->next_reopen = Clock::now() + std::chrono::milliseconds(kReopenPeriodMs);
  return result;
}

PortStatus SerialLink::SwitchDevice(const std::string& device, Reporter& reporter) {
  // With the reader stopped, this thread alone owns the descriptor.
  const bool running = impl_->thread.joinable();
  Stop();
  impl_->Disconnect();
  const PortStatus status = OpenSerialPort(device, reporter);
  if (running && !Start()) reporter.WarningBox(msg::kReadThread);
  return status;
}

void SerialLink::SetTrafficLog(TrafficLog* log) {
  impl_->log = log;
}

void SerialLink::HandOnEachLine() {
  impl_->each_line = true;
}

void SerialLink::SetTrafficRecorder(TrafficRecorder* recorder) {
  impl_->recorder = recorder;
}

bool SerialLink::Start() {
  if (impl_->thread.joinable()) return true;
  link_.ReaderStarted();
  if (impl_->wake.error() == 0) {
    try {
      impl_->thread = std::thread([this] { impl_->Run(); });
      return true;
    } catch (const std::system_error&) {
    }
  }
  // Nobody would serve the port: free it for other programs.
  link_.ReaderStopped();
  impl_->Disconnect();
  return false;
}

void SerialLink::Stop() {
  link_.ReaderStopped();
  if (!impl_->thread.joinable()) return;
  impl_->wake.Wake();
  impl_->thread.join();
}

bool SerialLink::SendFrame(std::string_view frame) {
  if (frame.size() > kMaxFrameBytes) return false;
  impl_->Note(TrafficDirection::kSent, frame);
  {
    std::lock_guard<std::mutex> lock(impl_->queue_mutex);
    if (impl_->queue.size() < kMaxQueuedFrames) impl_->queue.emplace_back(frame);
  }
  impl_->wake.Wake();
  link_.FrameSent();
  return true;
}

bool SerialLink::port_open() const {
  return impl_->open;
}

const std::string& SerialLink::device() const {
  return impl_->device;
}

}  // namespace qrv
