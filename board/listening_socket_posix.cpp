#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "descriptor_device.h"
#include "listening_socket.h"
#include "tcp_port.h"

namespace qrv {
namespace {

class PosixListeningSocket : public ListeningSocket {
 public:
  PosixListeningSocket(int fd, std::string address) : fd_(fd), address_(std::move(address)) {}
  ~PosixListeningSocket() override { close(fd_); }

  bool WaitForCaller(int timeout_ms, const WakePipe& wake, bool* woken) override {
    pollfd fds[2] = {{fd_, POLLIN, 0}, {static_cast<int>(wake.handle()), POLLIN, 0}};
    if (poll(fds, 2, timeout_ms) < 0) return false;
    *woken = fds[1].revents != 0;
    return (fds[0].revents & POLLIN) != 0;
  }

  std::unique_ptr<PortDevice> Accept() override {
    const int fd = accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return nullptr;
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return AdoptSocket(fd);
  }

  std::string address() const override { return address_; }
  std::intptr_t handle() const override { return fd_; }

 private:
  int fd_;
  std::string address_;
};

std::unique_ptr<ListeningSocket> Failed(PortOpenResult& failure, int error) {
  failure.error = error == EINVAL ? PortError::kBadAddress : PortError::kOther;
  failure.system_text = std::strerror(error);
  return nullptr;
}

}  // namespace

std::unique_ptr<ListeningSocket> ListenOn(std::string_view host_port, PortOpenResult& failure) {
  const auto where = SplitHostPort(host_port, true);
  if (!where) return Failed(failure, EINVAL);
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV | AI_PASSIVE;
  addrinfo* found = nullptr;
  if (getaddrinfo(where->host.c_str(), where->port.c_str(), &hints, &found) != 0)
    return Failed(failure, EINVAL);
  const std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> addresses(found, freeaddrinfo);
  const int fd = socket(found->ai_family, found->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                        found->ai_protocol);
  if (fd < 0) return Failed(failure, errno);
  const int on = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_storage bound{};
  socklen_t size = sizeof bound;
  if (bind(fd, found->ai_addr, found->ai_addrlen) != 0 || listen(fd, 1) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &size) != 0) {
    const int error = errno;
    close(fd);
    return Failed(failure, error);
  }
  char port[NI_MAXSERV];
  getnameinfo(reinterpret_cast<sockaddr*>(&bound), size, nullptr, 0, port, sizeof port,
              NI_NUMERICSERV);
  const bool v6 = where->host.find(':') != std::string::npos;
  return std::make_unique<PosixListeningSocket>(
      fd, (v6 ? "[" + where->host + "]" : where->host) + ":" + port);
}

}  // namespace qrv
