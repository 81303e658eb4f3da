#include <libudev.h>

#include <algorithm>
#include <memory>
#include <sstream>

#include "serial_devices.h"

namespace qrv {
namespace {

struct UdevFree {
  void operator()(udev* u) const { udev_unref(u); }
  void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
  void operator()(udev_device* d) const { udev_device_unref(d); }
};
template <typename T>
using UdevPtr = std::unique_ptr<T, UdevFree>;

std::string Text(const char* value) {
  return value ? value : "";
}

std::string Attribute(udev_device* device, const char* name) {
  return device ? Text(udev_device_get_sysattr_value(device, name)) : std::string();
}

// A tty with hardware behind it. The 8250 driver makes ttyS0..ttyS31 whether or not a UART
// is there; those without one say "type" 0.
bool IsSerialLine(udev_device* tty) {
  udev_device* parent = udev_device_get_parent(tty);
  if (!parent || !udev_device_get_devnode(tty)) return false;
  return Attribute(tty, "type") != "0";
}

// The stable name udev gives a USB adapter, which survives replugging into another socket.
std::string ById(udev_device* tty) {
  std::istringstream links(Text(udev_device_get_property_value(tty, "DEVLINKS")));
  for (std::string link; links >> link;) {
    if (link.rfind("/dev/serial/by-id/", 0) == 0) return link;
  }
  return {};
}

SerialDevice Describe(udev_device* tty) {
  SerialDevice d;
  d.node = Text(udev_device_get_devnode(tty));
  d.kernel_name = Text(udev_device_get_sysname(tty));
  const std::string by_id = ById(tty);
  d.path = by_id.empty() ? d.node : by_id;
  // The USB device's own descriptors, read from sysfs, so they are there without udev's
  // database too.
  udev_device* usb = udev_device_get_parent_with_subsystem_devtype(tty, "usb", "usb_device");
  SerialDeviceFacts facts{Attribute(usb, "manufacturer"), Attribute(usb, "product"),
                          Attribute(usb, "serial"),       Attribute(usb, "idVendor"),
                          Attribute(usb, "idProduct"),    {}};
  // The first driver up the tree that says more than the generic serial layers.
  for (udev_device* up = udev_device_get_parent(tty); up && facts.driver.empty();
       up = udev_device_get_parent(up)) {
    const std::string driver = Text(udev_device_get_driver(up));
    if (driver != "port" && driver != "ctrl" && driver != "serial") facts.driver = driver;
  }
  d.description = DescribeSerialDevice(facts);
  return d;
}

}  // namespace

std::vector<SerialDevice> ListSerialDevices() {
  std::vector<SerialDevice> found;
  const UdevPtr<udev> u(udev_new());
  if (!u) return found;
  const UdevPtr<udev_enumerate> all(udev_enumerate_new(u.get()));
  if (!all || udev_enumerate_add_match_subsystem(all.get(), "tty") < 0 ||
      udev_enumerate_scan_devices(all.get()) < 0)
    return found;
  udev_list_entry* entry = nullptr;
  udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(all.get())) {
    const UdevPtr<udev_device> tty(
        udev_device_new_from_syspath(u.get(), udev_list_entry_get_name(entry)));
    if (tty && IsSerialLine(tty.get())) found.push_back(Describe(tty.get()));
  }
  std::sort(found.begin(), found.end(), [](const SerialDevice& a, const SerialDevice& b) {
    return a.kernel_name < b.kernel_name;
  });
  return found;
}

}  // namespace qrv
