#include "serial_port.h"

#include "messages.h"
#include "serial_device.h"
#include "tcp_port.h"
#include "text_format.h"
#include "translation.h"

namespace qrv {

std::string SettingsDevice(const SerialSettings& settings) {
  return settings.com_device.empty() ? PortDeviceName(settings.com_port) : settings.com_device;
}

PortOpenResult OpenPortDevice(const std::string& device, const WakePipe* cancel) {
  if (IsTcpDevice(device))
    return OpenTcpPort(std::string_view(device).substr(kTcpScheme.size()), cancel);
  if (device.empty()) {
    PortOpenResult result;
    result.error = PortError::kNoDevice;
    return result;
  }
  return OpenSerialDevice(device);
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

ReasonText PortProblem(const PortOpenResult& result) {
  switch (result.status) {
    case PortStatus::kOpened:
      return Explain("open");
    case PortStatus::kNotSerial:
      return Explain("not a serial line");
    case PortStatus::kNotConfigured:
      return Explain("cannot be set to 38400 baud 8E1 ({1})", {result.system_text});
    case PortStatus::kCannotOpen:
      break;
  }
  switch (result.error) {
    case PortError::kNoDevice:
      return Explain("no such device");
    case PortError::kBusy:
      return Explain("busy: another program holds it");
    case PortError::kPermission:
      return Explain("permission denied (is the user in the dialout group?)");
    case PortError::kBadAddress:
      return Explain("not HOST:PORT");
    case PortError::kNoHost:
      return Explain("no such host");
    case PortError::kRefused:
      return Explain("connection refused");
    case PortError::kTimedOut:
      return Explain("timed out");
    default:
      return {result.system_text, result.system_text};
  }
}

std::string PortErrorText(const std::string& device, const PortOpenResult& result) {
  if (device.empty()) return Tr("no serial device is named");
  return Format(Tr("{1}: {2}"), {device, PortProblem(result).shown});
}

}  // namespace qrv
