#pragma once

#include "page_group_dialog.h"

namespace qrv {

// "表示時間の設定": how many seconds (0..99) each page stays on the display.
class DisplayTimeDialog : public PageGroupDialog {
  Q_OBJECT

 public:
  DisplayTimeDialog(DialogContext& context, QWidget* owner);
};

}  // namespace qrv
