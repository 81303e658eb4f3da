#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

#include "board_rack.h"
#include "board_reply.h"
#include "text_format.h"
#include "translation.h"
#include "wake_pipe.h"

namespace qrv {
namespace {

using Clock = std::chrono::steady_clock;

// As BoardServer: a line longer than any frame is not kept whole; 11 bit times a byte.
constexpr std::size_t kMaxReceivedBytes = 1024;
constexpr int kBitsPerByte = 11;

}  // namespace

struct BoardRack::Impl {
  // One board: its port, its cable while connected, its model and what it still has to say.
  struct Board {
    std::unique_ptr<ListeningSocket> listening;
    std::string address;
    int connection = -1;
    bool gone = false;  // unplugged: the port is closed for good
    BoardOptions options;
    Clock::duration byte_time{};
    BoardModel model;
    int frames = 0;
    std::string received;
    Clock::time_point last_arrival;  // when the last byte received would have arrived
    Clock::time_point busy_until;    // the board takes its next frame no earlier
    Clock::time_point line_free;     // its last answer has left by then
    struct Out {
      Clock::time_point due;  // when the bytes have reached the program
      std::string bytes;
    };
    std::deque<Out> out;
    std::string writing;  // due, but not yet taken by the socket
  };

  std::vector<Board> boards;
  Log log;
  WakePipe wake;
  std::thread thread;
  std::atomic<bool> running{false};
  mutable std::mutex mutex;  // the models and counts, for the callers' looks
  int unplugged = 0;

  void Drop(Board& b) {
    close(b.connection);
    b.connection = -1;
    b.received.clear();
    b.out.clear();
    b.writing.clear();
  }

  void Accept(Board& b, Clock::time_point now) {
    const int fd = accept4(static_cast<int>(b.listening->handle()), nullptr, nullptr,
                           SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return;
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    b.connection = fd;
    b.last_arrival = b.busy_until = b.line_free = now;
  }

  // A whole frame, its last byte in at complete: the reply, and when its bytes arrive.
  void Frame(int index, Clock::time_point complete) {
    Board& b = boards[static_cast<std::size_t>(index)];
    BoardReply reply;
    {
      std::lock_guard<std::mutex> lock(mutex);
      reply = ReplyTo(b.model, b.options, ++b.frames, b.received);
    }
    if (log) log(index, b.received, reply.answer);
    b.received.clear();
    if (reply.unplug) {
      Drop(b);
      b.listening.reset();
      b.gone = true;
      std::lock_guard<std::mutex> lock(mutex);
      ++unplugged;
      return;
    }
    if (reply.answer.empty()) return;
    const BoardOptions& o = b.options;
    Clock::time_point at =
        std::max(complete, b.busy_until) + std::chrono::milliseconds(o.answer_delay_ms);
    b.busy_until = at;
    if (o.latency_ms > 0) at += std::chrono::milliseconds(o.latency_ms);
    const std::size_t piece =
        o.split_bytes > 0 ? static_cast<std::size_t>(o.split_bytes) : reply.answer.size();
    for (std::size_t from = 0; from < reply.answer.size(); from += piece) {
      if (from > 0) at += std::chrono::milliseconds(o.split_gap_ms);
      const std::string bytes = reply.answer.substr(from, piece);
      at = std::max(at, b.line_free) + b.byte_time * static_cast<long>(bytes.size());
      b.line_free = at;
      b.out.push_back({at, bytes});
    }
    // Nearby, the board writes its answer before it reads on; far away, it reads on while
    // its answers travel.
    if (o.latency_ms <= 0) b.busy_until = b.line_free;
  }

  void ReadFrom(int index, Clock::time_point now) {
    Board& b = boards[static_cast<std::size_t>(index)];
    char chunk[4096];
    const ssize_t n = read(b.connection, chunk, sizeof chunk);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
    if (n <= 0) {
      Drop(b);
      return;
    }
    for (ssize_t i = 0; i < n && b.connection >= 0; ++i) {
      if (b.received.size() < kMaxReceivedBytes) b.received += chunk[i];
      b.last_arrival = std::max(b.last_arrival, now) + b.byte_time;
      if (chunk[i] == '\n') Frame(index, b.last_arrival);
    }
  }

  void Deliver(Board& b, Clock::time_point now) {
    while (!b.out.empty() && b.out.front().due <= now) {
      b.writing += b.out.front().bytes;
      b.out.pop_front();
    }
    if (b.writing.empty() || b.connection < 0) return;
    const ssize_t n = send(b.connection, b.writing.data(), b.writing.size(), MSG_NOSIGNAL);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
    if (n < 0) {
      Drop(b);
      return;
    }
    b.writing.erase(0, static_cast<std::size_t>(n));
  }

  // How long poll may wait: until the next answer is due, or for ever.
  int Timeout(Clock::time_point now) const {
    Clock::time_point next = Clock::time_point::max();
    for (const Board& b : boards) {
      if (b.connection >= 0 && !b.out.empty()) next = std::min(next, b.out.front().due);
    }
    if (next == Clock::time_point::max()) return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(next - now).count();
    return static_cast<int>(std::max<decltype(left)>(left, 0));
  }

  bool AllUnplugged() const {
    std::lock_guard<std::mutex> lock(mutex);
    return unplugged == static_cast<int>(boards.size());
  }

  void Loop() {
    std::vector<pollfd> fds;
    std::vector<int> owner;  // the board of each entry after the wake-up's
    while (running && !AllUnplugged()) {
      fds.assign(1, {static_cast<int>(wake.handle()), POLLIN, 0});
      owner.clear();
      for (std::size_t i = 0; i < boards.size(); ++i) {
        const Board& b = boards[i];
        if (b.gone) continue;
        if (b.connection < 0) {
          fds.push_back({static_cast<int>(b.listening->handle()), POLLIN, 0});
        } else {
          const short want = POLLIN | (b.writing.empty() ? 0 : POLLOUT);
          fds.push_back({b.connection, want, 0});
        }
        owner.push_back(static_cast<int>(i));
      }
      if (poll(fds.data(), fds.size(), Timeout(Clock::now())) < 0 && errno != EINTR) break;
      if (fds[0].revents != 0) wake.Drain();
      const Clock::time_point now = Clock::now();
      for (std::size_t k = 1; k < fds.size(); ++k) {
        Board& b = boards[static_cast<std::size_t>(owner[k - 1])];
        if (fds[k].revents == 0) continue;
        if (b.connection < 0) {
          Accept(b, now);
        } else if ((fds[k].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
          ReadFrom(owner[k - 1], now);
        }
      }
      for (Board& b : boards) Deliver(b, now);
    }
    for (Board& b : boards) {
      if (b.connection >= 0) Drop(b);
    }
  }
};

BoardRack::BoardRack(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

BoardRack::~BoardRack() {
  Stop();
}

std::unique_ptr<BoardRack> BoardRack::Listen(const std::string& host, int first_port, int count,
                                             const std::function<BoardOptions(int board)>& options,
                                             Log log, std::string* why) {
  auto impl = std::make_unique<Impl>();
  if (impl->wake.error() != 0) {
    *why = Format(Tr("no wake-up pipe: {1}"), {std::strerror(impl->wake.error())});
    return nullptr;
  }
  impl->log = std::move(log);
  impl->boards.resize(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    Impl::Board& b = impl->boards[static_cast<std::size_t>(i)];
    const std::string where = host + ":" + std::to_string(first_port + i);
    PortOpenResult failure;
    b.listening = ListenOn(where, failure);
    if (!b.listening) {
      *why = Format(Tr("cannot listen on {1}: {2}"), {where, failure.system_text});
      return nullptr;
    }
    b.address = b.listening->address();
    b.options = options(i);
    if (b.options.baud > 0) {
      b.byte_time = std::chrono::duration_cast<Clock::duration>(
          std::chrono::duration<double>(static_cast<double>(kBitsPerByte) / b.options.baud));
    }
  }
  return std::unique_ptr<BoardRack>(new BoardRack(std::move(impl)));
}

void BoardRack::Start() {
  if (impl_->thread.joinable()) return;
  impl_->running = true;
  impl_->thread = std::thread([this] { impl_->Loop(); });
}

void BoardRack::Run() {
  impl_->running = true;
  impl_->Loop();
}

void BoardRack::Stop() {
  impl_->running = false;
  impl_->wake.Wake();
  if (impl_->thread.joinable()) impl_->thread.join();
}

int BoardRack::size() const {
  return static_cast<int>(impl_->boards.size());
}

std::string BoardRack::address(int board) const {
  return impl_->boards[static_cast<std::size_t>(board)].address;
}

BoardState BoardRack::state(int board) const {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  return impl_->boards[static_cast<std::size_t>(board)].model.state();
}

int BoardRack::frames_received(int board) const {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  return impl_->boards[static_cast<std::size_t>(board)].frames;
}

int BoardRack::unplugged() const {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  return impl_->unplugged;
}

}  // namespace qrv
