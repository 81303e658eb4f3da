#pragma once

#include "setting_dialog.h"

namespace qrv {

// "文字背景色ベタ塗りの設定": the solid background fill of each line, one bit per line of
// a page's mask; sends one page, or all 32 in one frame.
class FillBorderingDialog : public SettingDialog {
  Q_OBJECT

 public:
  FillBorderingDialog(DialogContext& context, QWidget* owner);

 protected:
  void Reload() override;

 private:
  std::array<QComboBox*, kLines> lines_{};
};

}  // namespace qrv
