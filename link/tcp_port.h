#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "serial_port.h"

namespace qrv {

// A board behind a serial device server (or ser2net) that carries the line's bytes over raw
// TCP is named "tcp://HOST:PORT".
inline constexpr std::string_view kTcpScheme = "tcp://";

// Longest wait for a device server to take the connection.
inline constexpr int kTcpConnectLimitMs = 3000;

struct TcpAddress {
  std::string host;  // a name or an address literal, IPv6 without its brackets
  std::string port;  // decimal, 1..65535
};

// Whether device names a device server rather than a serial line ("tcp://" in either case).
bool IsTcpDevice(std::string_view device);

// "HOST:PORT", an IPv6 address written "[::1]:PORT"; nothing when it is not of that form.
// Port 0 (any port the system chooses) is taken only for listening.
std::optional<TcpAddress> SplitHostPort(std::string_view host_port, bool listening = false);

// Connects to HOST:PORT within kTcpConnectLimitMs, trying each address the name has, with
// Nagle's delay off. A form that is not HOST:PORT fails with kBadAddress; a wake-up of cancel
// abandons the connect (kCancelled).
PortOpenResult OpenTcpPort(std::string_view host_port, const WakePipe* cancel = nullptr);

}  // namespace qrv
