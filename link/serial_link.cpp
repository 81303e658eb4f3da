#include <algorithm>
#include <atomic>
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
#include "wake_pipe.h"

namespace qrv {
namespace {

using Clock = std::chrono::steady_clock;

// Frames waiting for a line held by flow control; beyond this they are dropped, and the
// watchdog reports them like any unanswered frame.
constexpr std::size_t kMaxQueuedFrames = 128;
// How often a terminal's output queue is looked at while it sends a frame: the systems' waits
// have no event for an empty queue.
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
  TrafficLog* log = nullptr;
  TrafficRecorder* recorder = nullptr;
  WakePipe wake;
  std::thread thread;
  std::atomic<bool> open{false};

  std::mutex queue_mutex;
  std::deque<std::string> queue;  // frames handed over by SendFrame, oldest first

  // Owned by the reader thread once it runs.
  std::unique_ptr<PortDevice> port;
  LineAssembler assembler;
  bool each_line = false;  // every LF ends a line, not only a read's last byte
  bool skipping = false;   // dropping a device server's greeting
  bool on_caller = false;  // served by ServeUntil's caller, not by a reader thread
  std::size_t handed = 0;  // lines handed on so far
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
    while (link.ReaderRunning() != 0) Turn(Clock::time_point::max());
    if (port) port->DropInput();
  }

  // One wait on the port, or without a port for the time to look for it again, at most
  // until the time given.
  void Turn(Clock::time_point until) {
    if (!port)
      WaitForPort(until);
    else
      Serve(until);
  }

  static int Bounded(int timeout, Clock::time_point until) {
    if (until == Clock::time_point::max()) return timeout;
    const int left = MillisecondsUntil(until);
    return timeout < 0 ? left : std::min(timeout, left);
  }

  void DropQueuedFrames() {
    std::lock_guard<std::mutex> lock(queue_mutex);
    queue.clear();
  }

  // No port: sleep until shutdown, or until it is time to look for the device again.
  void WaitForPort(Clock::time_point until) {
    const int timeout = Bounded(device.empty() ? -1 : MillisecondsUntil(next_reopen), until);
    const bool woken = wake.WaitFor(std::chrono::milliseconds(timeout));
    wake.Drain();
    DropQueuedFrames();
    if (woken || (!on_caller && link.ReaderRunning() == 0)) return;
    if (device.empty() || Clock::now() < next_reopen) return;
    next_reopen = Clock::now() + std::chrono::milliseconds(kReopenPeriodMs);
    // The wake-up pipe cuts a slow connect short, so Stop never waits for one; a wake-up
    // that was only a frame (dropped, as without a port) lets it start again at once.
    PortOpenResult result = OpenPortDevice(device, &wake);
    if (result.error == PortError::kCancelled) next_reopen = Clock::now();
    if (result.device) Opened(std::move(result.device));
  }

  void Opened(std::unique_ptr<PortDevice> opened) {
    port = std::move(opened);
    assembler.Reset();
    skipping = port->GreetsOnConnect();
    open = true;
  }

  void Serve(Clock::time_point until) {
    if (!has_write) TakeFrame();
    const bool sending = has_write && written == writing.size();  // all with the kernel
    int timeout = has_write ? MillisecondsUntil(write_deadline) : -1;
    if (sending) timeout = std::min(timeout, kSendingCheckMs);
    timeout = Bounded(timeout, until);
    const PortEvents events = port->Wait(true, has_write && !sending, timeout, wake);
    if (events.woken) wake.Drain();
    if (events.readable) {
      if (!ReadOnce()) return Disconnect();
    } else if (events.gone) {
      return Disconnect();
    }
    if (has_write && !WriteSome()) return Disconnect();
  }

  // One read of at most 500 bytes; false when the port has gone.
  bool ReadOnce() {
    char chunk[LineAssembler::kMaxReadBytes];
    const std::optional<std::size_t> n = port->Read(chunk, sizeof chunk);
    if (!n) return false;
    if (*n == 0) return true;
    const std::string_view bytes(chunk, *n);
    if (each_line) {
      for (std::string& line : assembler.FeedEachLine(bytes)) DeliverLine(line);
    } else if (auto line = assembler.Feed(bytes)) {
      DeliverLine(*line);
    }
    return true;
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
    ++handed;
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

  // Puts as much as the line takes now; false when the port has gone. A frame is done once
  // the kernel has sent it too, so its deadline also covers the kernel's queue.
  bool WriteSome() {
    while (has_write) {
      if (written == writing.size()) {
        if (port->Queued() > 0) break;
        TakeFrame();
        continue;
      }
      const std::optional<std::size_t> n = port->Write(std::string_view(writing).substr(written));
      if (!n) return false;
      if (*n == 0) break;
      written += *n;
    }
    // Held by flow control for the whole limit: the rest of this frame is given up, also
    // what the kernel holds, or a board attached later would get it.
    if (has_write && Clock::now() >= write_deadline) {
      port->Flush();
      TakeFrame();
    }
    return true;
  }

  // The device went away (unplugged adapter, closed peer): forget it and look again later.
  void Disconnect() {
    port.reset();
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
}

PortStatus SerialLink::OpenSerialPort(const std::string& device, Reporter& reporter) {
  const PortStatus status = OpenPort(device).status;
  ReportPortWarnings(status, reporter);
  return status;
}

PortOpenResult SerialLink::OpenPort(const std::string& device) {
  impl_->device = device;
  PortOpenResult result = OpenPortDevice(device);
  if (result.device) impl_->Opened(std::move(result.device));
  impl_->next_reopen = Clock::now() + std::chrono::milliseconds(kReopenPeriodMs);
  return result;
}

PortStatus SerialLink::SwitchDevice(const std::string& device, Reporter& reporter) {
  // With the reader stopped, this thread alone owns the device.
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
  // A caller that serves the port itself writes the frame on its next turn.
  if (!impl_->on_caller) impl_->wake.Wake();
  link_.FrameSent();
  return true;
}

void SerialLink::ServeUntil(std::chrono::steady_clock::time_point until) {
  impl_->on_caller = true;
  const std::size_t before = impl_->handed;
  do {
    impl_->Turn(until);
  } while (impl_->handed == before && Clock::now() < until);
}

bool SerialLink::port_open() const {
  return impl_->open;
}

const std::string& SerialLink::device() const {
  return impl_->device;
}

}  // namespace qrv
