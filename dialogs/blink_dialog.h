#pragma once

#include "resource_ids.h"
#include "setting_dialog.h"

namespace qrv {

// "点滅表示の設定": the blink setting (0..4) of each line of a page; sends one page or,
// in a run, all 32.
class BlinkDialog : public SettingDialog {
  Q_OBJECT

 public:
  static constexpr RunPlan kRun{ids::kBlinkTimer, kSendPeriod, kPages};

  BlinkDialog(DialogContext& context, QWidget* owner);

 protected:
  void Reload() override;

 private:
  std::array<QComboBox*, kLines> lines_{};
};

}  // namespace qrv
