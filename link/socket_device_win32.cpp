#include <winsock2.h>

#include <windows.h>

#include "socket_device.h"

namespace qrv {
namespace {

class SocketDevice : public PortDevice {
 public:
  explicit SocketDevice(SOCKET s) : socket_(s), event_(WSACreateEvent()) {}
  ~SocketDevice() override {
    closesocket(socket_);
    WSACloseEvent(event_);
  }

  PortEvents Wait(bool for_bytes, bool for_room, int timeout_ms, const WakePipe& wake) override {
    const short want =
        static_cast<short>((for_bytes ? POLLRDNORM : 0) | (for_room ? POLLWRNORM : 0));
    PortEvents events;
    const short got = WaitOnSocket(socket_, reinterpret_cast<std::intptr_t>(event_), want,
                                   timeout_ms, wake, &events.woken);
    events.readable = (got & POLLRDNORM) != 0;
    events.writable = (got & POLLWRNORM) != 0;
    events.gone = !events.readable && (got & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    return events;
  }

  std::optional<std::size_t> Read(char* into, std::size_t size) override {
    const int n = recv(socket_, into, static_cast<int>(size), 0);
    if (n > 0) return static_cast<std::size_t>(n);
    if (n < 0 && WSAGetLastError() == WSAEWOULDBLOCK) return 0;
    return std::nullopt;
  }

  std::optional<std::size_t> Write(std::string_view bytes) override {
    const int n = send(socket_, bytes.data(), static_cast<int>(bytes.size()), 0);
    if (n > 0) return static_cast<std::size_t>(n);
    if (n < 0 && WSAGetLastError() == WSAEWOULDBLOCK) return 0;
    return std::nullopt;
  }

  std::size_t Queued() override { return 0; }
  void Flush() override {}
  void DropInput() override {}
  // Device servers greet each connection (ser2net's banner).
  bool GreetsOnConnect() const override { return true; }

 private:
  SOCKET socket_;
  WSAEVENT event_;
};

}  // namespace

bool StartSockets() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
}

short WaitOnSocket(std::uintptr_t socket, std::intptr_t event, short want, int timeout_ms,
                   const WakePipe& wake, bool* woken) {
  const SOCKET s = static_cast<SOCKET>(socket);
  const HANDLE wake_event = reinterpret_cast<HANDLE>(wake.handle());
  // What is true already is seen at once; otherwise the socket's event (armed afresh, which
  // also makes the socket non-blocking) and the wake-up are waited on, then looked at again.
  WSAPOLLFD p{s, want, 0};
  if (WSAPoll(&p, 1, 0) <= 0) {
    const auto ev = reinterpret_cast<WSAEVENT>(event);
    WSAResetEvent(ev);
    WSAEventSelect(s, ev, FD_READ | FD_WRITE | FD_CLOSE | FD_ACCEPT);
    p.revents = 0;
    if (WSAPoll(&p, 1, 0) <= 0) {
      const HANDLE handles[2] = {ev, wake_event};
      WaitForMultipleObjects(2, handles, FALSE,
                             timeout_ms < 0 ? INFINITE : static_cast<DWORD>(timeout_ms));
      p.revents = 0;
      WSAPoll(&p, 1, 0);
    }
  }
  *woken = WaitForSingleObject(wake_event, 0) == WAIT_OBJECT_0;
  return p.revents;
}

std::unique_ptr<PortDevice> AdoptSocket(std::uintptr_t socket) {
  return std::make_unique<SocketDevice>(static_cast<SOCKET>(socket));
}

}  // namespace qrv
