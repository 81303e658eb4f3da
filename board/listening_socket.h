#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "port_device.h"
#include "serial_port.h"

namespace qrv {

// A TCP socket that takes connections, the system's part of the board's network port.
class ListeningSocket {
 public:
  virtual ~ListeningSocket() = default;
  // Waits up to timeout_ms (-1: for ever) for a caller, or for wake; whether one is there.
  virtual bool WaitForCaller(int timeout_ms, const WakePipe& wake, bool* woken) = 0;
  // The caller's connection, with Nagle's delay off; nullptr when none came after all.
  virtual std::unique_ptr<PortDevice> Accept() = 0;
  // HOST:PORT it listens on, the port the system chose for port 0.
  virtual std::string address() const = 0;
  // What the system waits on for a caller, for a loop that waits on many at once.
  virtual std::intptr_t handle() const = 0;
};

// Listens on HOST:PORT (port 0: any) for one caller at a time; nullptr, with why in failure,
// when it cannot.
std::unique_ptr<ListeningSocket> ListenOn(std::string_view host_port, PortOpenResult& failure);

}  // namespace qrv
