#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

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
  int fd;
  BoardOptions options;
  Log log;
  WakePipe wake;
  std::thread thread;
  std::atomic<bool> running{false};
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

  Impl(int f, BoardOptions o, Log l) : fd(f), options(std::move(o)), log(std::move(l)) {
    if (options.baud > 0) {
      byte_time = std::chrono::duration_cast<Clock::duration>(
          std::chrono::duration<double>(static_cast<double>(kBitsPerByte) / options.baud));
    }
  }

  // Sleeps until when, or less when stopped; false once stopped.
  bool PauseUntil(Clock::time_point when) {
    const auto left = when - Clock::now();
    if (left > Clock::duration::zero()) {
      const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
      const timespec timeout{static_cast<time_t>(ns / 1'000'000'000), ns % 1'000'000'000};
      pollfd p{wake.fd(), POLLIN, 0};
      ppoll(&p, 1, &timeout, nullptr);
    }
    return running;
  }

  // Sleeps for ms, or less when stopped; false once stopped.
  bool Pause(int ms) {
    if (ms > 0) {
      pollfd p{wake.fd(), POLLIN, 0};
      poll(&p, 1, ms);
    }
    return running;
  }

  bool WriteAll(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t n = write(fd, bytes.data(), bytes.size());
      if (n > 0) {
        bytes.remove_prefix(static_cast<std::size_t>(n));
      } else if (n < 0 && errno == EAGAIN) {
        pollfd fds[2] = {{fd, POLLOUT, 0}, {wake.fd(), POLLIN, 0}};
        poll(fds, 2, 1000);
        if (!running) return false;
      } else if (!(n < 0 && errno == EINTR)) {
        return false;
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

  const BoardFault* FaultFor(int frame) const {
    for (const BoardFault& f : options.faults)
      if (f.frame == 0 || f.frame == frame) return &f;
    return nullptr;
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
    std::string answer;
    if (const BoardFault* fault = FaultFor(number)) {
      if (fault->kind == BoardFault::Kind::kAnswer) answer = fault->text + "\r\n";
      if (fault->kind == BoardFault::Kind::kGarbage) answer = fault->text;
    } else {
      std::lock_guard<std::mutex> lock(model_mutex);
      answer = model.Answer(frame);
    }
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
      pollfd fds[2] = {{fd, POLLIN, 0}, {wake.fd(), POLLIN, 0}};
      if (poll(fds, 2, PollTimeout()) < 0 && errno != EINTR) break;
      if (fds[1].revents != 0) wake.Drain();
      if (!running) break;
      Deliver();
      if ((fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0 && (fds[0].revents & POLLIN) == 0)
        break;
      if ((fds[0].revents & POLLIN) == 0) continue;
      const ssize_t n = read(fd, chunk, sizeof chunk);
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      if (n <= 0) break;
      const Clock::time_point read_at = Clock::now();
      for (ssize_t i = 0; i < n && running; ++i) {
        if (received.size() < kMaxReceivedBytes) received += chunk[i];
        last_arrival = std::max(last_arrival, read_at) + byte_time;
        if (chunk[i] != '\n') continue;
        if (!PauseUntil(last_arrival)) break;
        Answer(received);
        received.clear();
        Deliver();
      }
    }
  }
};

BoardServer::BoardServer(int fd, BoardOptions options, Log log)
    : impl_(std::make_unique<Impl>(fd, std::move(options), std::move(log))) {
  if (impl_->wake.error() != 0)
    throw std::system_error(impl_->wake.error(), std::generic_category(), "wake-up pipe");
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
}

BoardServer::~BoardServer() {
  Stop();
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
