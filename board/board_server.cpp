#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

#include "board_reply.h"
#include "board_server.h"
#include "wake_pipe.h"

namespace qrv {
namespace {

using Clock = std::chrono::steady_clock;

// A line longer than any frame is not kept whole; the board refuses it at its LF.
constexpr std::size_t kMaxReceivedBytes = 1024;
constexpr int kBitsPerByte = 11;

}  // namespace

struct BoardServer::Impl {
  std::unique_ptr<PortDevice> line;
  BoardOptions options;
  Log log;
  WakePipe wake;
  std::thread thread;
  std::atomic<bool> running{false};
  bool unplugged = false;
  std::function<void()> on_unplug;
  mutable std::mutex model_mutex;
  BoardModel model;
  std::atomic<int> frames{0};
  std::string received;
  Clock::duration byte_time{};
  Clock::time_point last_arrival;  // when the last byte received would have arrived
  struct Travelling {
    Clock::time_point due;  // when it reaches the program
    std::string answer;
  };
  std::deque<Travelling> travelling;  // answers on their way, oldest first

  Impl(std::unique_ptr<PortDevice> d, BoardOptions o, Log l)
      : line(std::move(d)), options(std::move(o)), log(std::move(l)) {
    if (options.baud > 0) {
      byte_time = std::chrono::duration_cast<Clock::duration>(
          std::chrono::duration<double>(static_cast<double>(kBitsPerByte) / options.baud));
    }
  }

  // Sleeps until when, or less when stopped; false once stopped.
  bool PauseUntil(Clock::time_point when) {
    const auto left = when - Clock::now();
    if (left > Clock::duration::zero()) wake.WaitFor(left);
    return running;
  }

  // Sleeps for ms, or less when stopped; false once stopped.
  bool Pause(int ms) {
    if (ms > 0) wake.WaitFor(std::chrono::milliseconds(ms));
    return running;
  }

  bool WriteAll(std::string_view bytes) {
    while (!bytes.empty()) {
      const std::optional<std::size_t> n = line->Write(bytes);
      if (!n) return false;
      if (*n > 0) {
        bytes.remove_prefix(*n);
      } else {
        line->Wait(false, true, 1000, wake);
        if (!running) return false;
      }
    }
    return true;
  }

  // Writes bytes as a line of the modelled speed would carry them: each byte no earlier
  // than its last bit.
  bool WritePaced(std::string_view bytes) {
    if (options.baud <= 0) return WriteAll(bytes);
    const Clock::time_point start = Clock::now();
    std::size_t sent = 0;
    while (sent < bytes.size()) {
      const auto due = static_cast<std::size_t>((Clock::now() - start) / byte_time);
      const std::size_t take = std::min(bytes.size(), std::max(due, sent + 1)) - sent;
      if (!PauseUntil(start + byte_time * static_cast<long>(sent + take))) return false;
      if (!WriteAll(bytes.substr(sent, take))) return false;
      sent += take;
    }
    return true;
  }

  // Writes an answer as the board sends it: in pieces when asked, at the line's speed.
  void Write(std::string_view answer) {
    const std::size_t piece =
        options.split_bytes > 0 ? static_cast<std::size_t>(options.split_bytes) : answer.size();
    for (std::size_t at = 0; at < answer.size(); at += piece) {
      if (at > 0 && !Pause(options.split_gap_ms)) break;
      if (!WritePaced(answer.substr(at, piece))) break;
    }
  }

  void Answer(const std::string& frame) {
    const int number = ++frames;
    BoardReply reply;
    {
      std::lock_guard<std::mutex> lock(model_mutex);
      reply = ReplyTo(model, options, number, frame);
    }
    if (reply.unplug) {
      unplugged = true;
      running = false;
    }
    const std::string& answer = reply.answer;
    if (log) log(frame, answer);
    if (answer.empty() || !Pause(options.answer_delay_ms)) return;
    if (options.latency_ms > 0) {
      travelling.push_back({Clock::now() + std::chrono::milliseconds(options.latency_ms), answer});
    } else {
      Write(answer);
    }
  }

  // Writes the answers that have arrived by now.
  void Deliver() {
    while (running && !travelling.empty() && travelling.front().due <= Clock::now()) {
      Write(travelling.front().answer);
      travelling.pop_front();
    }
  }

  // How long poll may wait: until the next answer arrives, or for ever.
  int PollTimeout() const {
    if (travelling.empty()) return -1;
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(travelling.front().due - Clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
  }

  void Run() {
    char chunk[512];
    while (running) {
      const PortEvents events = line->Wait(true, false, PollTimeout(), wake);
      if (events.woken) wake.Drain();
      if (!running) break;
      Deliver();
      if (events.gone) break;
      if (!events.readable) continue;
      const std::optional<std::size_t> n = line->Read(chunk, sizeof chunk);
      if (!n) break;
      const Clock::time_point read_at = Clock::now();
      for (std::size_t i = 0; i < *n && running; ++i) {
        if (received.size() < kMaxReceivedBytes) received += chunk[i];
        last_arrival = std::max(last_arrival, read_at) + byte_time;
        if (chunk[i] != '\n') continue;
        if (!PauseUntil(last_arrival)) break;
        Answer(received);
        received.clear();
        Deliver();
      }
    }
    if (!unplugged) return;
    line.reset();
    if (on_unplug) on_unplug();
  }
};

BoardServer::BoardServer(std::unique_ptr<PortDevice> line, BoardOptions options, Log log)
    : impl_(std::make_unique<Impl>(std::move(line), std::move(options), std::move(log))) {
  if (impl_->wake.error() != 0)
    throw std::system_error(impl_->wake.error(), std::generic_category(), "wake-up pipe");
}

BoardServer::~BoardServer() {
  Stop();
}

void BoardServer::OnUnplug(std::function<void()> unplugged) {
  impl_->on_unplug = std::move(unplugged);
}

void BoardServer::Start() {
  if (impl_->thread.joinable()) return;
  impl_->running = true;
  impl_->thread = std::thread([this] { impl_->Run(); });
}

void BoardServer::Stop() {
  impl_->running = false;
  if (!impl_->thread.joinable()) return;
  impl_->wake.Wake();
  impl_->thread.join();
}

void BoardServer::Load(const DisplayConfig& config) {
  std::lock_guard<std::mutex> lock(impl_->model_mutex);
  impl_->model.LoadFrom(config);
}

BoardState BoardServer::state() const {
  std::lock_guard<std::mutex> lock(impl_->model_mutex);
  return impl_->model.state();
}

int BoardServer::frames_received() const {
  return impl_->frames;
}

}  // namespace qrv
