#pragma once

#include "full_run_dialog.h"
#include "run_steps.h"

namespace qrv {

// "全項目の設定": sends the whole configuration in one run of 103 steps, one frame every
// 500 ms: the titles, fill, level, colours, blink, display page, display time and position.
// It edits nothing; display on/off is not part of it.
class AllItemsDialog : public FullRunDialog {
  Q_OBJECT

 public:
  static constexpr RunPlan kRun{ids::kAllItemsTimer, kSendPeriod, kAllItemsSteps};

  AllItemsDialog(DialogContext& context, QWidget* owner);

 protected:
  void PerformStep(int step) override;
};

}  // namespace qrv
