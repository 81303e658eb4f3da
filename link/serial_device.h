#pragma once

#include <string>

#include "serial_port.h"

namespace qrv {

// Opens a serial line (a terminal device, or a COM port) exclusively and sets the board's
// line on it, as OpenPortDevice says.
PortOpenResult OpenSerialDevice(const std::string& device);

}  // namespace qrv
