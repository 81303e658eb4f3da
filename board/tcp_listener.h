#pragma once

#include <string>
#include <string_view>

#include "serial_port.h"

namespace qrv {

// The board's end of a line over the network: a TCP port on which one connection at a time
// is the cable. While nobody is connected the board hears nothing and what it says is lost,
// as on a line with nothing attached; a connection that closes makes way for the next, which
// waits until then. So one port is one board, whoever connects.
PortOpenResult ListenTcpPort(std::string_view host_port);

// The HOST:PORT a device made by ListenTcpPort takes connections on (the port the system
// chose for port 0); empty for any other device.
std::string ListeningAddress(const PortDevice& device);

}  // namespace qrv
