#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>

#include "descriptor_device.h"
#include "tcp_port.h"

namespace qrv {
namespace {

using Clock = std::chrono::steady_clock;

// 0 once the connect in progress on fd has succeeded, else why it did not.
int FinishConnect(int fd, Clock::time_point deadline, const WakePipe* cancel) {
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return ETIMEDOUT;
    // A negative descriptor is skipped by poll.
    pollfd fds[2] = {{fd, POLLOUT, 0},
                     {cancel != nullptr ? static_cast<int>(cancel->handle()) : -1, POLLIN, 0}};
    const int ready = poll(fds, 2, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) return errno;
    if (ready == 0) return ETIMEDOUT;
    if (fds[1].revents != 0) return ECANCELED;
    int error = 0;
    socklen_t size = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) return errno;
    return error;
  }
}

// A connected socket to address, or -1 with *error set.
int Connect(const addrinfo& address, Clock::time_point deadline, const WakePipe* cancel,
            int* error) {
  const int fd = socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                        address.ai_protocol);
  if (fd < 0) {
    *error = errno;
    return -1;
  }
  *error = connect(fd, address.ai_addr, address.ai_addrlen) == 0 ? 0 : errno;
  if (*error == EINPROGRESS) *error = FinishConnect(fd, deadline, cancel);
  if (*error != 0) {
    close(fd);
    return -1;
  }
  // Frames are short and each is answered before the next: send every one at once.
  const int on = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  return fd;
}

PortError ErrorOf(int error) {
  switch (error) {
    case EINVAL:
      return PortError::kBadAddress;
    case ECONNREFUSED:
      return PortError::kRefused;
    case ETIMEDOUT:
      return PortError::kTimedOut;
    case ECANCELED:
      return PortError::kCancelled;
    default:
      return PortError::kOther;
  }
}

void Fail(PortOpenResult& result, int error) {
  result.error = ErrorOf(error);
  result.system_text = std::strerror(error);
}

}  // namespace

PortOpenResult OpenTcpPort(std::string_view host_port, const WakePipe* cancel) {
  PortOpenResult result;
  const auto address = SplitHostPort(host_port);
  if (!address) {
    Fail(result, EINVAL);
    return result;
  }
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const int lookup = getaddrinfo(address->host.c_str(), address->port.c_str(), &hints, &found);
  if (lookup != 0) {
    if (lookup == EAI_SYSTEM) {
      Fail(result, errno);
    } else {
      result.error = lookup == EAI_NONAME ? PortError::kNoHost : PortError::kOther;
      result.system_text = gai_strerror(lookup);
    }
    return result;
  }
  const std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> addresses(found, freeaddrinfo);
  const auto deadline = Clock::now() + std::chrono::milliseconds(kTcpConnectLimitMs);
  int error = 0;
  for (const addrinfo* a = found; a != nullptr; a = a->ai_next) {
    const int fd = Connect(*a, deadline, cancel, &error);
    if (fd >= 0) {
      result.device = AdoptSocket(fd);
      result.status = PortStatus::kOpened;
      return result;
    }
    if (error == ECANCELED || error == ETIMEDOUT) break;
  }
  Fail(result, error);
  return result;
}

}  // namespace qrv
