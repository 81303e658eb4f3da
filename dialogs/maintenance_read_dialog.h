#pragma once

#include "full_run_dialog.h"

namespace qrv {

// "定値項目の読み込み": reads a board's settings back in one run of 103 requests, one every
// 300 ms; the dispatcher stores the answers as they arrive. While it reads, the dialog cannot
// be closed.
class MaintenanceReadDialog : public FullRunDialog {
  Q_OBJECT

 public:
  static constexpr RunPlan kRun{ids::kReadTimer, 300, 103};

  MaintenanceReadDialog(DialogContext& context, QWidget* owner);

  // Esc and the close box do nothing while a read is under way.
  void reject() override;

 protected:
  void PerformStep(int step) override;
  // The next page-based dialog opens on page 1.
  void RunFinished() override { config().current_page = 0; }
};

}  // namespace qrv
