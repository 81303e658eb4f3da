#pragma once

#include "full_run_dialog.h"
#include "run_steps.h"

namespace qrv {

// "定値項目の読み込み": reads a board's settings back in one run of 103 requests, one every
// 300 ms; the dispatcher stores the answers as they arrive. While it reads, the dialog cannot
// be closed. A document with unsaved changes is replaced only when the operator agrees, and
// the end of the read is said once its answers are in.
class MaintenanceReadDialog : public FullRunDialog {
  Q_OBJECT

 public:
  static constexpr RunPlan kRun{ids::kReadTimer, kReadPeriod, kMaintenanceReadSteps};

  MaintenanceReadDialog(DialogContext& context, QWidget* owner);

  // Esc and the close box do nothing while a read is under way.
  void reject() override;

 protected:
  void PerformStep(int step) override;
  // The next page-based dialog opens on page 1.
  void RunFinished() override;
  bool MayStart() override;

 private:
  int requests_ = 0;  // sent by the read under way
  int answered_ = 0;  // lines received while it runs
};

}  // namespace qrv
