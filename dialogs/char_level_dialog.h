#pragma once

#include "page_group_dialog.h"

namespace qrv {

// "文字レベルの設定": whether each page's characters show at the low or the high level.
class CharLevelDialog : public PageGroupDialog {
  Q_OBJECT

 public:
  CharLevelDialog(DialogContext& context, QWidget* owner);
};

}  // namespace qrv
