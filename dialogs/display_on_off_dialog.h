#pragma once

#include "setting_dialog.h"

namespace qrv {

// "表示/非表示の設定": the display on or off. Not part of the document.
class DisplayOnOffDialog : public SettingDialog {
  Q_OBJECT

 public:
  DisplayOnOffDialog(DialogContext& context, QWidget* owner);
};

}  // namespace qrv
