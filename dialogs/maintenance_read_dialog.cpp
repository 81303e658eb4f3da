#include "maintenance_read_dialog.h"

#include <QCoreApplication>

#include "read_outcome.h"
#include "run_steps.h"

namespace qrv {

MaintenanceReadDialog::MaintenanceReadDialog(DialogContext& context, QWidget* owner)
    : FullRunDialog(context,
                    {ids::kMaintenanceReadTemplate, QStringLiteral("定値項目の読み込み"),
                     QStringLiteral("読み込み"), ids::kReadStart, ids::kReadCounter,
                     ids::kReadProgress, ids::kReadAnswerPace, kRun,
                     QStringLiteral("メインテナンス以外で読み込み動作を行わないでください。")},
                    owner) {
  if (context.dispatched != nullptr) {
    connect(context.dispatched, &DispatchNotifier::LineDispatched, this, [this] {
      if (this->context().link.BatchStep() != 0) ++answered_;
    });
  }
}

bool MaintenanceReadDialog::MayStart() {
  if (!context().ConfirmRead()) return false;
  requests_ = answered_ = 0;
  return true;
}

void MaintenanceReadDialog::RunFinished() {
  config().current_page = 0;
  // The last answers are still on their way; the dialog closes now, its owner stays.
  QObject* keeper = parentWidget() != nullptr ? static_cast<QObject*>(parentWidget())
                                              : QCoreApplication::instance();
  new ReadOutcome(context().dispatched, context().reporter, requests_, answered_, keeper);
}

void MaintenanceReadDialog::reject() {
  if (context().link.BatchStep() != 0) return;
  // No read under way: the dialog ends and leaves the flags as the last line set them.
  TemplateDialog::reject();
}

void MaintenanceReadDialog::PerformStep(int step) {
  if (auto request = MaintenanceReadStep(step)) {
    Send(*request);
    ++requests_;
  }
}

}  // namespace qrv
