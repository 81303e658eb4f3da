#pragma once

#include "resource_ids.h"
#include "setting_dialog.h"

namespace qrv {

// "文字色の設定": the character and bordering colour of each line; sends one page or, in
// a run, all 32. A line with both colours blank cannot be sent.
class CharColourDialog : public SettingDialog {
  Q_OBJECT

 public:
  static constexpr RunPlan kRun{ids::kColourTimer, kSendPeriod, kPages};

  CharColourDialog(DialogContext& context, QWidget* owner);

 protected:
  void Reload() override;
  // Closing ends a run but leaves an error answer's flag for the next run to see.
  bool KeepsErrorOnClose() const override { return true; }

 private:
  std::array<QComboBox*, kLines> chars_{};
  std::array<QComboBox*, kLines> borders_{};
};

}  // namespace qrv
