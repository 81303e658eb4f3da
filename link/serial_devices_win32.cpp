#include <windows.h>
// SetupAPI after windows.h.
#include <devguid.h>
#include <setupapi.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "serial_devices.h"
#include "win32_text.h"

namespace qrv {
namespace {

std::string Property(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) {
  wchar_t text[1024] = {};
  DWORD type = 0;
  if (!SetupDiGetDeviceRegistryPropertyW(set, &device, property, &type,
                                         reinterpret_cast<BYTE*>(text),
                                         sizeof text - sizeof(wchar_t), nullptr))
    return {};
  return AnsiFromWide(text);  // the first string of a list
}

// "COM3", from the device's own key.
std::string PortName(HDEVINFO set, SP_DEVINFO_DATA& device) {
  const HKEY key = SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
  if (key == INVALID_HANDLE_VALUE) return {};
  wchar_t name[64] = {};
  DWORD size = sizeof name - sizeof(wchar_t);
  DWORD type = 0;
  const bool read = RegQueryValueExW(key, L"PortName", nullptr, &type,
                                     reinterpret_cast<BYTE*>(name), &size) == ERROR_SUCCESS &&
                    type == REG_SZ;
  RegCloseKey(key);
  return read ? AnsiFromWide(name) : std::string();
}

// The four hexadecimal digits after tag ("VID_") in a hardware id, in lower case as udev
// writes them.
std::string IdAfter(const std::string& hardware_id, const char* tag) {
  std::string upper = hardware_id;
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  const std::size_t at = upper.find(tag);
  if (at == std::string::npos || at + 8 > upper.size()) return {};
  std::string id = hardware_id.substr(at + 4, 4);
  std::transform(id.begin(), id.end(), id.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return id;
}

}  // namespace

std::vector<SerialDevice> ListSerialDevices() {
  std::vector<SerialDevice> found;
  const HDEVINFO set = SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
  if (set == INVALID_HANDLE_VALUE) return found;
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &device); ++i) {
    const std::string port = PortName(set, device);
    // The class holds printer ports too.
    if (port.rfind("COM", 0) != 0) continue;
    const std::string hardware_id = Property(set, device, SPDRP_HARDWAREID);
    SerialDeviceFacts facts;
    facts.product = Property(set, device, SPDRP_FRIENDLYNAME);
    if (facts.product.empty()) facts.product = Property(set, device, SPDRP_DEVICEDESC);
    facts.vendor_id = IdAfter(hardware_id, "VID_");
    facts.product_id = IdAfter(hardware_id, "PID_");
    SerialDevice d;
    d.path = d.node = d.kernel_name = port;
    d.description = DescribeSerialDevice(facts);
    found.push_back(d);
  }
  SetupDiDestroyDeviceInfoList(set);
  // COM2 before COM10.
  std::sort(found.begin(), found.end(), [](const SerialDevice& a, const SerialDevice& b) {
    return a.path.size() != b.path.size() ? a.path.size() < b.path.size() : a.path < b.path;
  });
  return found;
}

}  // namespace qrv
