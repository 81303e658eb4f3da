#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include "listening_socket.h"
#include "socket_device.h"
#include "tcp_port.h"
#include "win32_text.h"

namespace qrv {
namespace {

class WinsockListeningSocket : public ListeningSocket {
 public:
  WinsockListeningSocket(SOCKET s, std::string address)
      : socket_(s), address_(std::move(address)), event_(WSACreateEvent()) {}
  ~WinsockListeningSocket() override {
    closesocket(socket_);
    WSACloseEvent(event_);
  }

  bool WaitForCaller(int timeout_ms, const WakePipe& wake, bool* woken) override {
    const short got = WaitOnSocket(socket_, reinterpret_cast<std::intptr_t>(event_), POLLRDNORM,
                                   timeout_ms, wake, woken);
    return (got & POLLRDNORM) != 0;
  }

  std::unique_ptr<PortDevice> Accept() override {
    const SOCKET s = accept(socket_, nullptr, nullptr);
    if (s == INVALID_SOCKET) return nullptr;
    u_long on = 1;
    ioctlsocket(s, FIONBIO, &on);
    const BOOL nodelay = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&nodelay),
               sizeof nodelay);
    return AdoptSocket(static_cast<std::uintptr_t>(s));
  }

  std::string address() const override { return address_; }
  std::intptr_t handle() const override { return static_cast<std::intptr_t>(socket_); }

 private:
  SOCKET socket_;
  std::string address_;
  WSAEVENT event_;
};

std::unique_ptr<ListeningSocket> Failed(PortOpenResult& failure, int error) {
  failure.error = error == WSAEINVAL ? PortError::kBadAddress : PortError::kOther;
  failure.system_text = Win32ErrorText(static_cast<unsigned long>(error));
  return nullptr;
}

}  // namespace

std::unique_ptr<ListeningSocket> ListenOn(std::string_view host_port, PortOpenResult& failure) {
  const auto where = SplitHostPort(host_port, true);
  if (!where) return Failed(failure, WSAEINVAL);
  if (!StartSockets()) return Failed(failure, WSASYSNOTREADY);
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV | AI_PASSIVE;
  addrinfo* found = nullptr;
  if (getaddrinfo(where->host.c_str(), where->port.c_str(), &hints, &found) != 0)
    return Failed(failure, WSAEINVAL);
  const std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> addresses(found, freeaddrinfo);
  const SOCKET s = socket(found->ai_family, found->ai_socktype, found->ai_protocol);
  if (s == INVALID_SOCKET) return Failed(failure, WSAGetLastError());
  sockaddr_storage bound{};
  int size = sizeof bound;
  if (bind(s, found->ai_addr, static_cast<int>(found->ai_addrlen)) != 0 || listen(s, 1) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&bound), &size) != 0) {
    const int error = WSAGetLastError();
    closesocket(s);
    return Failed(failure, error);
  }
  const unsigned port =
      ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port
                                        : reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
  const bool v6 = where->host.find(':') != std::string::npos;
  return std::make_unique<WinsockListeningSocket>(
      s, (v6 ? "[" + where->host + "]" : where->host) + ":" + std::to_string(port));
}

}  // namespace qrv
