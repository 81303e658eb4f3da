#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "wake_pipe.h"

namespace qrv {

// Why a port could not be opened, the same on every system. The system's own words for it
// travel beside it (PortOpenResult::system_text), as the Qt serial port module keeps both.
enum class PortError {
  kNone,
  kNoDevice,    // absent, or no device named
  kBusy,        // another program holds it
  kPermission,  // the user may not open it
  kBadAddress,  // a device server named by something that is not HOST:PORT
  kNoHost,      // a host name that does not resolve
  kRefused,     // nothing takes connections there
  kTimedOut,    // no answer to the connect in time
  kCancelled,   // the wait was cut short by its wake-up
  kOther,       // anything else: the system's words say what
};

// What a wait saw on a device.
struct PortEvents {
  bool readable = false;  // bytes have come (or the end of them: a read tells)
  bool writable = false;  // the line takes bytes now
  bool gone = false;      // hung up or failed, with nothing left to read
  bool woken = false;     // the wake-up was set
};

// An open line to a board, serial or over the network. One thread uses it at a time;
// destroying it closes the line and drops what it has not sent.
class PortDevice {
 public:
  virtual ~PortDevice() = default;

  // Waits up to timeout_ms (-1: for ever) for bytes to read, for room to write, each when
  // asked, or for wake to be set (left set: the caller drains it).
  virtual PortEvents Wait(bool for_bytes, bool for_room, int timeout_ms, const WakePipe& wake) = 0;
  // Bytes that have come, at most size; 0 when none have. Nothing once the device has gone.
  virtual std::optional<std::size_t> Read(char* into, std::size_t size) = 0;
  // What the line takes of bytes now, 0 when it takes none; nothing once the device has gone.
  virtual std::optional<std::size_t> Write(std::string_view bytes) = 0;
  // Bytes written that the system still holds for the line.
  virtual std::size_t Queued() = 0;
  // Gives up what the system holds for the line.
  virtual void Flush() = 0;
  // Drops what has come and not been read.
  virtual void DropInput() = 0;
  // Whether each new connection may begin with a greeting of the device server's own before
  // the board's first answer.
  virtual bool GreetsOnConnect() const = 0;
};

}  // namespace qrv
