#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <memory>

#include "socket_device.h"
#include "tcp_listener.h"
#include "tcp_port.h"
#include "win32_text.h"

namespace qrv {
namespace {

class TcpListener : public PortDevice {
 public:
  TcpListener(SOCKET s, std::string address)
      : listening_(s), address_(std::move(address)), event_(WSACreateEvent()) {}
  ~TcpListener() override {
    Hang();
    closesocket(listening_);
    WSACloseEvent(event_);
  }

  PortEvents Wait(bool for_bytes, bool for_room, int timeout_ms, const WakePipe& wake) override {
    PortEvents events;
    const bool connected = connection_ != INVALID_SOCKET;
    const short want = static_cast<short>(
        connected ? (for_bytes ? POLLRDNORM : 0) | (for_room ? POLLWRNORM : 0) : POLLRDNORM);
    const short got =
        WaitOnSocket(connected ? connection_ : listening_, reinterpret_cast<std::intptr_t>(event_),
                     want, timeout_ms, wake, &events.woken);
    if (!connected) {
      if ((got & POLLRDNORM) != 0) Accept();
      // Nothing attached takes whatever the board says.
      events.writable = for_room;
      return events;
    }
    events.readable = (got & POLLRDNORM) != 0;
    events.writable = (got & POLLWRNORM) != 0;
    // The cable is pulled; the next connection plugs it in again.
    if (!events.readable && (got & (POLLHUP | POLLERR | POLLNVAL)) != 0) Hang();
    return events;
  }

  std::optional<std::size_t> Read(char* into, std::size_t size) override {
    if (connection_ == INVALID_SOCKET) return 0;
    const int n = recv(connection_, into, static_cast<int>(size), 0);
    if (n > 0) return static_cast<std::size_t>(n);
    if (n < 0 && WSAGetLastError() == WSAEWOULDBLOCK) return 0;
    Hang();
    return 0;
  }

  std::optional<std::size_t> Write(std::string_view bytes) override {
    if (connection_ == INVALID_SOCKET) return bytes.size();
    const int n = send(connection_, bytes.data(), static_cast<int>(bytes.size()), 0);
    if (n > 0) return static_cast<std::size_t>(n);
    if (n < 0 && WSAGetLastError() == WSAEWOULDBLOCK) return 0;
    Hang();
    return bytes.size();
  }

  std::size_t Queued() override { return 0; }
  void Flush() override {}
  void DropInput() override {}
  bool GreetsOnConnect() const override { return false; }

  const std::string& address() const { return address_; }

 private:
  void Accept() {
    connection_ = accept(listening_, nullptr, nullptr);
    if (connection_ == INVALID_SOCKET) return;
    u_long on = 1;
    ioctlsocket(connection_, FIONBIO, &on);
    const BOOL nodelay = TRUE;
    setsockopt(connection_, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&nodelay),
               sizeof nodelay);
  }
  void Hang() {
    if (connection_ != INVALID_SOCKET) closesocket(connection_);
    connection_ = INVALID_SOCKET;
  }

  SOCKET listening_;
  SOCKET connection_ = INVALID_SOCKET;
  std::string address_;
  WSAEVENT event_;
};

PortOpenResult Failed(int error) {
  PortOpenResult result;
  result.error = error == WSAEINVAL ? PortError::kBadAddress : PortError::kOther;
  result.system_text = Win32ErrorText(static_cast<unsigned long>(error));
  return result;
}

}  // namespace

PortOpenResult ListenTcpPort(std::string_view host_port) {
  const auto where = SplitHostPort(host_port, true);
  if (!where) return Failed(WSAEINVAL);
  if (!StartSockets()) return Failed(WSASYSNOTREADY);
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV | AI_PASSIVE;
  addrinfo* found = nullptr;
  if (getaddrinfo(where->host.c_str(), where->port.c_str(), &hints, &found) != 0)
    return Failed(WSAEINVAL);
  const std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> addresses(found, freeaddrinfo);
  const SOCKET s = socket(found->ai_family, found->ai_socktype, found->ai_protocol);
  if (s == INVALID_SOCKET) return Failed(WSAGetLastError());
  sockaddr_storage bound{};
  int size = sizeof bound;
  if (bind(s, found->ai_addr, static_cast<int>(found->ai_addrlen)) != 0 || listen(s, 1) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&bound), &size) != 0) {
    const int error = WSAGetLastError();
    closesocket(s);
    return Failed(error);
  }
  const unsigned port =
      ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port
                                        : reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
  const bool v6 = where->host.find(':') != std::string::npos;
  PortOpenResult result;
  result.device = std::make_unique<TcpListener>(
      s, (v6 ? "[" + where->host + "]" : where->host) + ":" + std::to_string(port));
  result.status = PortStatus::kOpened;
  return result;
}

std::string ListeningAddress(const PortDevice& device) {
  const auto* listener = dynamic_cast<const TcpListener*>(&device);
  return listener != nullptr ? listener->address() : std::string();
}

}  // namespace qrv
