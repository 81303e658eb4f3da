#pragma once

#include <string>
#include <vector>

namespace qrv {

// A serial device of this machine, as an operator would pick it.
struct SerialDevice {
  std::string path;         // what to open: the stable /dev/serial/by-id/ link when there is one
  std::string node;         // the device node, /dev/ttyUSB0
  std::string kernel_name;  // ttyUSB0
  std::string description;  // maker, product, serial number and USB VID:PID, where known
};

// What the system tells of a device, for its description.
struct SerialDeviceFacts {
  std::string maker, product, serial, vendor_id, product_id;
  std::string driver;  // the kernel driver, for lines without USB descriptors
};

// "FTDI FT232R USB UART (A50285BI) 0403:6001", or "serial port (8250)" for a line that
// tells nothing else.
std::string DescribeSerialDevice(const SerialDeviceFacts& facts);

// The serial devices present now, by kernel name: USB adapters, on-board UARTs and the
// like, not virtual consoles or legacy ports without a UART behind them. Empty when there
// are none or the system cannot list them.
std::vector<SerialDevice> ListSerialDevices();

// Whether device names something there now; a serial device server (tcp://) counts as
// there, since only connecting tells.
bool DevicePresent(const std::string& device);

}  // namespace qrv
