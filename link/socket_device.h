#pragma once

#include <cstdint>
#include <memory>

#include "port_device.h"

namespace qrv {

// Winsock, for the network devices of a Windows build.

// Starts Winsock once for the process; false when it cannot be had.
bool StartSockets();

// What a socket's wait saw: the WSAPoll bits of socket (POLLRDNORM, POLLWRNORM, POLLHUP,
// POLLERR), waited for as asked (want) together with wake, up to timeout_ms (-1: for ever).
// event is the socket's own event for the wait.
short WaitOnSocket(std::uintptr_t socket, std::intptr_t event, short want, int timeout_ms,
                   const WakePipe& wake, bool* woken);

// A connected TCP socket as a port device, closed with it.
std::unique_ptr<PortDevice> AdoptSocket(std::uintptr_t socket);

}  // namespace qrv
