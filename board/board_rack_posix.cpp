#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <mutex>
#include <queue>
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
// Readiness is looked at this many descriptors at a time.
constexpr int kEventsAtOnce = 256;
// What an event's data names: the wake-up, or a board's listening socket or connection.
constexpr std::uint64_t kWakeEvent = ~std::uint64_t{0};

std::uint64_t EventOf(std::size_t board, bool connection) {
  return static_cast<std::uint64_t>(board) * 2 + (connection ? 1 : 0);
}

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
    std::string writing;     // due, but not yet taken by the socket
    bool wants_out = false;  // the connection is watched for room to write
  };
  // An answer's bytes due on a board's connection; the earliest first.
  struct Due {
    Clock::time_point at;
    std::size_t board;
    bool operator>(const Due& other) const { return at > other.at; }
  };

  std::vector<Board> boards;
  std::priority_queue<Due, std::vector<Due>, std::greater<Due>> due;
  int events = -1;  // the epoll instance
  Log log;
  WakePipe wake;
  std::thread thread;
  std::atomic<bool> running{false};
  mutable std::mutex mutex;  // the models and counts, for the callers' looks
  int unplugged = 0;

  void Watch(int fd, std::uint32_t what, std::uint64_t data, int op) {
    epoll_event event{};
    event.events = what;
    event.data.u64 = data;
    epoll_ctl(events, op, fd, &event);
  }

  // One connection at a time: the port is listened on again only once its cable is gone.
  void Drop(std::size_t index) {
    Board& b = boards[index];
    close(b.connection);
    b.connection = -1;
    b.received.clear();
    b.out.clear();
    b.writing.clear();
    b.wants_out = false;
    if (b.listening)
      Watch(static_cast<int>(b.listening->handle()), EPOLLIN, EventOf(index, false), EPOLL_CTL_ADD);
  }

  void Accept(std::size_t index, Clock::time_point now) {
    Board& b = boards[index];
    const int fd = accept4(static_cast<int>(b.listening->handle()), nullptr, nullptr,
                           SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return;
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    epoll_ctl(events, EPOLL_CTL_DEL, static_cast<int>(b.listening->handle()), nullptr);
    Watch(fd, EPOLLIN, EventOf(index, true), EPOLL_CTL_ADD);
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
      b.listening.reset();
      Drop(static_cast<std::size_t>(index));
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
      due.push({at, static_cast<std::size_t>(index)});
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
      Drop(static_cast<std::size_t>(index));
      return;
    }
    for (ssize_t i = 0; i < n && b.connection >= 0; ++i) {
      if (b.received.size() < kMaxReceivedBytes) b.received += chunk[i];
      b.last_arrival = std::max(b.last_arrival, now) + b.byte_time;
      if (chunk[i] == '\n') Frame(index, b.last_arrival);
    }
  }

  // Hands the socket what is due; what it cannot take yet waits for room.
  void Deliver(std::size_t index, Clock::time_point now) {
    Board& b = boards[index];
    while (!b.out.empty() && b.out.front().due <= now) {
      b.writing += b.out.front().bytes;
      b.out.pop_front();
    }
    if (b.writing.empty() || b.connection < 0) return;
    const ssize_t n = send(b.connection, b.writing.data(), b.writing.size(), MSG_NOSIGNAL);
    if (n < 0 && errno != EAGAIN && errno != EINTR) {
      Drop(index);
      return;
    }
    if (n > 0) b.writing.erase(0, static_cast<std::size_t>(n));
    if (b.wants_out != !b.writing.empty()) {
      b.wants_out = !b.writing.empty();
      Watch(b.connection, EPOLLIN | (b.wants_out ? EPOLLOUT : 0u), EventOf(index, true),
            EPOLL_CTL_MOD);
    }
  }

  // Waits for readiness until the next answer is due, to the nanosecond where the system can.
  int Wait(epoll_event* ready, Clock::time_point now) const {
    if (due.empty()) return epoll_wait(events, ready, kEventsAtOnce, -1);
    const auto left = std::max(due.top().at - now, Clock::duration::zero());
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
    const timespec timeout{static_cast<time_t>(seconds.count()),
                           static_cast<long>((left - seconds).count())};
    const int n = epoll_pwait2(events, ready, kEventsAtOnce, &timeout, nullptr);
    if (n >= 0 || errno != ENOSYS) return n;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return epoll_wait(events, ready, kEventsAtOnce, static_cast<int>(ms));
  }

  bool AllUnplugged() const {
    std::lock_guard<std::mutex> lock(mutex);
    return unplugged == static_cast<int>(boards.size());
  }

  void Loop() {
    epoll_event ready[kEventsAtOnce];
    while (running && !AllUnplugged()) {
      const int n = Wait(ready, Clock::now());
      if (n < 0 && errno != EINTR) break;
      const Clock::time_point now = Clock::now();
      for (int k = 0; k < n; ++k) {
        const std::uint64_t data = ready[k].data.u64;
        if (data == kWakeEvent) {
          wake.Drain();
          continue;
        }
        const auto index = static_cast<std::size_t>(data / 2);
        Board& b = boards[index];
        if (data % 2 == 0) {
          if (b.connection < 0 && b.listening) Accept(index, now);
        } else if (b.connection >= 0) {
          if ((ready[k].events & (EPOLLIN | EPOLLHUP | EPOLLERR)) != 0)
            ReadFrom(static_cast<int>(index), now);
          if (b.connection >= 0 && (ready[k].events & EPOLLOUT) != 0) Deliver(index, now);
        }
      }
      while (!due.empty() && due.top().at <= now) {
        const std::size_t index = due.top().board;
        due.pop();
        Deliver(index, now);
      }
    }
    for (std::size_t i = 0; i < boards.size(); ++i) {
      if (boards[i].connection >= 0) Drop(i);
    }
  }

  ~Impl() {
    if (events >= 0) close(events);
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
  impl->events = epoll_create1(EPOLL_CLOEXEC);
  if (impl->events < 0) {
    *why = "no epoll instance: " + std::string(std::strerror(errno));
    return nullptr;
  }
  impl->Watch(static_cast<int>(impl->wake.handle()), EPOLLIN, kWakeEvent, EPOLL_CTL_ADD);
  impl->log = std::move(log);
  impl->boards.resize(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    Impl::Board& b = impl->boards[static_cast<std::size_t>(i)];
    const std::string where = (host.find(':') == host.npos ? host : "[" + host + "]") + ":" +
                              std::to_string(first_port == 0 ? 0 : first_port + i);
    PortOpenResult failure;
    b.listening = ListenOn(where, failure);
    if (!b.listening) {
      *why = Format(Tr("cannot listen on {1}: {2}"), {where, failure.system_text});
      return nullptr;
    }
    b.address = b.listening->address();
    impl->Watch(static_cast<int>(b.listening->handle()), EPOLLIN,
                EventOf(static_cast<std::size_t>(i), false), EPOLL_CTL_ADD);
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

void BoardRack::Load(int board, const DisplayConfig& config) {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  impl_->boards[static_cast<std::size_t>(board)].model.LoadFrom(config);
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
