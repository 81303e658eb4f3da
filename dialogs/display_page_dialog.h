#pragma once

#include "setting_dialog.h"

namespace qrv {

// "表示ページの設定": the page the board shows, "01".."32", or "Auto". The choice is also
// the page the per-page dialogs open on; it does not count as a change to the document.
class DisplayPageDialog : public SettingDialog {
  Q_OBJECT

 public:
  DisplayPageDialog(DialogContext& context, QWidget* owner);
};

}  // namespace qrv
