#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "tcp_listener.h"
#include "tcp_port.h"

namespace qrv {
namespace {

class TcpListener : public PortDevice {
 public:
  TcpListener(int fd, std::string address) : listening_(fd), address_(std::move(address)) {}
  ~TcpListener() override {
    Hang();
    close(listening_);
  }

  PortEvents Wait(bool for_bytes, bool for_room, int timeout_ms, const WakePipe& wake) override {
    const bool connected = connection_ >= 0;
    const short wanted = static_cast<short>(
        connected ? (for_bytes ? POLLIN : 0) | (for_room ? POLLOUT : 0) : POLLIN);
    pollfd fds[2] = {{connected ? connection_ : listening_, wanted, 0},
                     {static_cast<int>(wake.handle()), POLLIN, 0}};
    PortEvents events;
    if (poll(fds, 2, timeout_ms) < 0) return events;
    events.woken = fds[1].revents != 0;
    const short got = fds[0].revents;
    if (!connected) {
      if ((got & POLLIN) != 0) Accept();
      // Nothing attached takes whatever the board says.
      events.writable = for_room;
      return events;
    }
    events.readable = (got & POLLIN) != 0;
    events.writable = (got & POLLOUT) != 0;
    // The cable is pulled; the next connection plugs it in again.
    if (!events.readable && (got & (POLLHUP | POLLERR | POLLNVAL)) != 0) Hang();
    return events;
  }

  std::optional<std::size_t> Read(char* into, std::size_t size) override {
    if (connection_ < 0) return 0;
    const ssize_t n = read(connection_, into, size);
    if (n > 0) return static_cast<std::size_t>(n);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return 0;
    Hang();
    return 0;
  }

  std::optional<std::size_t> Write(std::string_view bytes) override {
    while (connection_ >= 0) {
      const ssize_t n = send(connection_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (n > 0) return static_cast<std::size_t>(n);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno == EAGAIN) return 0;
      Hang();
    }
    return bytes.size();
  }

  std::size_t Queued() override { return 0; }
  void Flush() override {}
  void DropInput() override {}
  bool GreetsOnConnect() const override { return false; }

  const std::string& address() const { return address_; }

 private:
  void Accept() {
    connection_ = accept4(listening_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (connection_ < 0) return;
    const int on = 1;
    setsockopt(connection_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  }
  void Hang() {
    if (connection_ >= 0) close(connection_);
    connection_ = -1;
  }

  int listening_;
  int connection_ = -1;
  std::string address_;
};

PortOpenResult Failed(int error) {
  PortOpenResult result;
  result.error = error == EINVAL ? PortError::kBadAddress : PortError::kOther;
  result.system_text = std::strerror(error);
  return result;
}

}  // namespace

PortOpenResult ListenTcpPort(std::string_view host_port) {
  const auto where = SplitHostPort(host_port, true);
  if (!where) return Failed(EINVAL);
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV | AI_PASSIVE;
  addrinfo* found = nullptr;
  if (getaddrinfo(where->host.c_str(), where->port.c_str(), &hints, &found) != 0)
    return Failed(EINVAL);
  const std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> addresses(found, freeaddrinfo);
  const int fd = socket(found->ai_family, found->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                        found->ai_protocol);
  if (fd < 0) return Failed(errno);
  const int on = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_storage bound{};
  socklen_t size = sizeof bound;
  if (bind(fd, found->ai_addr, found->ai_addrlen) != 0 || listen(fd, 1) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &size) != 0) {
    const int error = errno;
    close(fd);
    return Failed(error);
  }
  char port[NI_MAXSERV];
  getnameinfo(reinterpret_cast<sockaddr*>(&bound), size, nullptr, 0, port, sizeof port,
              NI_NUMERICSERV);
  const bool v6 = where->host.find(':') != std::string::npos;
  PortOpenResult result;
  result.device =
      std::make_unique<TcpListener>(fd, (v6 ? "[" + where->host + "]" : where->host) + ":" + port);
  result.status = PortStatus::kOpened;
  return result;
}

std::string ListeningAddress(const PortDevice& device) {
  const auto* listener = dynamic_cast<const TcpListener*>(&device);
  return listener != nullptr ? listener->address() : std::string();
}

}  // namespace qrv
