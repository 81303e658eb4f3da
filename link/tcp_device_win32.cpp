#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <chrono>
#include <memory>

#include "socket_device.h"
#include "tcp_port.h"
#include "win32_text.h"

namespace qrv {
namespace {

using Clock = std::chrono::steady_clock;

// 0 once the connect in progress on s has succeeded, else the Winsock error why not.
int FinishConnect(SOCKET s, Clock::time_point deadline, const WakePipe* cancel) {
  const WSAEVENT event = WSACreateEvent();
  WSAEventSelect(s, event, FD_CONNECT);
  const HANDLE handles[2] = {
      event, cancel != nullptr ? reinterpret_cast<HANDLE>(cancel->handle()) : nullptr};
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  const DWORD waited = WaitForMultipleObjects(cancel != nullptr ? 2 : 1, handles, FALSE,
                                              static_cast<DWORD>(std::max<long long>(left, 0)));
  int error = WSAETIMEDOUT;
  WSANETWORKEVENTS happened{};
  if (waited == WAIT_OBJECT_0 + 1) {
    error = WSAECANCELLED;
  } else if (waited == WAIT_OBJECT_0 && WSAEnumNetworkEvents(s, event, &happened) == 0 &&
             (happened.lNetworkEvents & FD_CONNECT) != 0) {
    error = happened.iErrorCode[FD_CONNECT_BIT];
  }
  WSAEventSelect(s, nullptr, 0);
  WSACloseEvent(event);
  return error;
}

PortError ErrorOf(int error) {
  switch (error) {
    case WSAEINVAL:
      return PortError::kBadAddress;
    case WSAECONNREFUSED:
      return PortError::kRefused;
    case WSAETIMEDOUT:
      return PortError::kTimedOut;
    case WSAECANCELLED:
      return PortError::kCancelled;
    case WSAHOST_NOT_FOUND:
    case WSANO_DATA:
      return PortError::kNoHost;
    default:
      return PortError::kOther;
  }
}

void Fail(PortOpenResult& result, int error) {
  result.error = ErrorOf(error);
  result.system_text = Win32ErrorText(static_cast<unsigned long>(error));
}

}  // namespace

PortOpenResult OpenTcpPort(std::string_view host_port, const WakePipe* cancel) {
  PortOpenResult result;
  const auto address = SplitHostPort(host_port);
  if (!address) {
    Fail(result, WSAEINVAL);
    return result;
  }
  if (!StartSockets()) {
    Fail(result, WSASYSNOTREADY);
    return result;
  }
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const int lookup = getaddrinfo(address->host.c_str(), address->port.c_str(), &hints, &found);
  if (lookup != 0) {
    Fail(result, lookup);
    return result;
  }
  const std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> addresses(found, freeaddrinfo);
  const auto deadline = Clock::now() + std::chrono::milliseconds(kTcpConnectLimitMs);
  int error = 0;
  for (const addrinfo* a = found; a != nullptr; a = a->ai_next) {
    const SOCKET s = socket(a->ai_family, a->ai_socktype, a->ai_protocol);
    if (s == INVALID_SOCKET) {
      error = WSAGetLastError();
      continue;
    }
    u_long on = 1;
    ioctlsocket(s, FIONBIO, &on);
    error = connect(s, a->ai_addr, static_cast<int>(a->ai_addrlen)) == 0 ? 0 : WSAGetLastError();
    if (error == WSAEWOULDBLOCK) error = FinishConnect(s, deadline, cancel);
    if (error == 0) {
      // Frames are short and each is answered before the next: send every one at once.
      const BOOL nodelay = TRUE;
      setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&nodelay),
                 sizeof nodelay);
      result.device = AdoptSocket(static_cast<std::uintptr_t>(s));
      result.status = PortStatus::kOpened;
      return result;
    }
    closesocket(s);
    if (error == WSAECANCELLED || error == WSAETIMEDOUT) break;
  }
  Fail(result, error);
  return result;
}

}  // namespace qrv
