#include "serial_port.h"

#include <cerrno>
#include <cstring>

#include "messages.h"
#include "tcp_port.h"

namespace qrv {

std::string SettingsDevice(const SerialSettings& settings) {
  return settings.com_device.empty() ? PortDeviceName(settings.com_port) : settings.com_device;
}

void ReportPortWarnings(PortStatus status, Reporter& reporter) {
  switch (status) {
    case PortStatus::kOpened:
      return;
    case PortStatus::kCannotOpen:
      // Every later set-up step fails on a port that is not open, and each says so.
      for (const char* text : {msg::kFileOpen, msg::kMaskSet, msg::kBufferSet, msg::kTimeOutSet})
        reporter.WarningBox(text);
      [[fallthrough]];
    case PortStatus::kNotConfigured:
    case PortStatus::kNotSerial:
      reporter.WarningBox(msg::kSetCommState);
      return;
  }
}

std::string PortErrorText(const std::string& device, const PortOpenResult& result) {
  if (device.empty()) return "no serial device is named";
  const std::string name = device + ": ";
  switch (result.status) {
    case PortStatus::kOpened:
      return name + "open";
    case PortStatus::kNotSerial:
      return name + "not a serial line";
    case PortStatus::kNotConfigured:
      return name + "cannot be set to 38400 baud 8E1 (" + std::strerror(result.error) + ")";
    case PortStatus::kCannotOpen:
      break;
  }
  if (!result.error_text.empty()) return name + result.error_text;
  if (IsTcpDevice(device)) {
    switch (result.error) {
      case EINVAL:
        return name + "not HOST:PORT";
      case ECONNREFUSED:
        return name + "connection refused";
      case ETIMEDOUT:
        return name + "timed out";
      default:
        return name + std::strerror(result.error);
    }
  }
  switch (result.error) {
    case ENOENT:
    case ENXIO:
    case ENODEV:
      return name + "no such device";
    case EBUSY:
    case EWOULDBLOCK:
      return name + "busy: another program holds it";
    case EACCES:
    case EPERM:
      return name + "permission denied (is the user in the dialout group?)";
    default:
      return name + std::strerror(result.error);
  }
}

}  // namespace qrv
