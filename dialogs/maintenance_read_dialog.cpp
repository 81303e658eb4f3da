#include "maintenance_read_dialog.h"

#include "run_steps.h"

namespace qrv {

static_assert(MaintenanceReadDialog::kRun.steps == kMaintenanceReadSteps);

MaintenanceReadDialog::MaintenanceReadDialog(DialogContext& context, QWidget* owner)
    : FullRunDialog(context,
                    {ids::kMaintenanceReadTemplate, QStringLiteral("定値項目の読み込み"),
                     QStringLiteral("読み込み"), ids::kReadStart, ids::kReadCounter,
                     ids::kReadProgress, ids::kReadAnswerPace, kRun,
                     QStringLiteral("メインテナンス以外で読み込み動作を行わないでください。")},
                    owner) {}

void MaintenanceReadDialog::reject() {
  if (context().link.BatchStep != 0) return;
  // No read under way: the dialog ends and leaves the flags as the last line set them.
  TemplateDialog::reject();
}

void MaintenanceReadDialog::PerformStep(int step) {
  if (auto request = MaintenanceReadStep(step)) Send(*request);
}

}  // namespace qrv
