#include "serial_devices.h"

#include <filesystem>
#include <system_error>

namespace qrv {

std::string DescribeSerialDevice(const SerialDeviceFacts& facts) {
  std::string text;
  const auto add = [&text](const std::string& part) {
    if (part.empty()) return;
    if (!text.empty()) text += ' ';
    text += part;
  };
  add(facts.maker);
  add(facts.product);
  if (!facts.serial.empty()) add("(" + facts.serial + ")");
  if (!facts.vendor_id.empty() && !facts.product_id.empty())
    add(facts.vendor_id + ":" + facts.product_id);
  if (!text.empty()) return text;
  return facts.driver.empty() ? "serial port" : "serial port (" + facts.driver + ")";
}

bool DevicePresent(const std::string& device) {
  if (device.rfind("tcp://", 0) == 0) return true;
  std::error_code error;
  return std::filesystem::exists(device, error);
}

}  // namespace qrv
