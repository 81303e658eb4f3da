#include "serial_devices.h"

namespace qrv {

// Systems without udev list nothing; a device is still named by its path.
std::vector<SerialDevice> ListSerialDevices() {
  return {};
}

}  // namespace qrv
