#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "port_device.h"
#include "reason_text.h"
#include "reporter.h"
#include "serial_settings.h"

namespace qrv {

// How opening the board's port went.
enum class PortStatus {
  kOpened,         // open and set up
  kNotConfigured,  // a terminal that refused the line settings: kept, it may still carry frames
  kNotSerial,      // opened, but not a serial line: closed again
  kCannotOpen,     // absent, held by another program, not permitted, or no device named
};

struct PortOpenResult {
  std::unique_ptr<PortDevice> device;  // the open line; also when it could not be set up
  PortStatus status = PortStatus::kCannotOpen;
  PortError error = PortError::kNone;
  std::string system_text;  // the system's own words for what failed
};

// The device of port index 0..5 (COM1..COM6); empty for any other index, which names no port.
std::string PortDeviceName(std::int32_t com_port);

// The device the settings name: com_device when given (a USB adapter, say), else the port
// of com_port.
std::string SettingsDevice(const SerialSettings& settings);

// Opens device exclusively and sets the board's line: 38400 baud, 8 data bits, even parity,
// one stop bit, RTS/CTS and XON/XOFF handshake, raw bytes.
// A device "tcp://HOST:PORT" is a serial device server instead, reached as OpenTcpPort says;
// cancel is only watched while connecting to one.
PortOpenResult OpenPortDevice(const std::string& device, const WakePipe* cancel = nullptr);

// The set-up warnings of one open, in the order operators know them: all five when the port
// could not be opened, the last alone when it opened but could not be set up.
void ReportPortWarnings(PortStatus status, Reporter& reporter);

// Why the port of result could not be used, for a line that names the device already.
ReasonText PortProblem(const PortOpenResult& result);
// One line for a command-line user: why device could not be used.
std::string PortErrorText(const std::string& device, const PortOpenResult& result);

}  // namespace qrv
