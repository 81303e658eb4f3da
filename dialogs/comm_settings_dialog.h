#pragma once

#include <QComboBox>
#include <QLabel>
#include <functional>
#include <string>
#include <vector>

#include "serial_devices.h"
#include "settings_store.h"
#include "template_dialog.h"

namespace qrv {

// What the dialog needs of the link. Each may be left empty: no devices, none in use.
struct PortControl {
  std::function<std::vector<SerialDevice>()> list_devices;  // the serial devices present now
  std::function<std::string()> device;                      // the device in use
  std::function<bool()> open;                               // whether it is open
  std::function<void(const std::string&)> switch_to;        // use another device at once
  std::function<bool(const std::string&)> present;          // whether a device is there now
};

// "通信の設定": the serial port and the line interface. "COM Port" offers COM 1..6, then
// every serial device present (looked for again each time the list drops down), then a
// device server or an absent device the settings name. Each choice is written to the
// settings file and takes effect at once.
class CommSettingsDialog : public TemplateDialog {
  Q_OBJECT

 public:
  CommSettingsDialog(SettingsStore& settings, QWidget* owner, PortControl port = {});

 private:
  // Rebuilds the port list around the stored choice and shows the device in use.
  void ListPorts();
  void ChoosePort(int index);

  SettingsStore& settings_;
  PortControl port_;
  QComboBox* port_list_;
  QLabel* in_use_;
};

}  // namespace qrv
