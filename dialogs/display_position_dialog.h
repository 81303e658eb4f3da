#pragma once

#include "setting_dialog.h"

namespace qrv {

// "表示位置微調整": where the whole picture stands, horizontally and vertically (0..15),
// each sent by its own button.
class DisplayPositionDialog : public SettingDialog {
  Q_OBJECT

 public:
  DisplayPositionDialog(DialogContext& context, QWidget* owner);
};

}  // namespace qrv
