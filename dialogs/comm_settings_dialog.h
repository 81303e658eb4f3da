#pragma once

#include <string>

#include "reporter.h"
#include "serial_settings.h"
#include "template_dialog.h"

namespace qrv {

// "通信の設定": the serial port and the line interface. Each choice is written to the
// settings file at once; the port in use stays the one opened at start-up until the next
// start.
class CommSettingsDialog : public TemplateDialog {
  Q_OBJECT

 public:
  CommSettingsDialog(SerialSettings& settings, std::string settings_path, Reporter& reporter,
                     QWidget* owner);

 private:
  void Store(const char* key, std::int32_t& setting, int index);

  SerialSettings& settings_;
  std::string settings_path_;
  Reporter& reporter_;
};

}  // namespace qrv
