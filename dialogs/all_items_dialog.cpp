#include "all_items_dialog.h"

#include "frame_senders.h"
#include "run_steps.h"

namespace qrv {

AllItemsDialog::AllItemsDialog(DialogContext& context, QWidget* owner)
    : FullRunDialog(context,
                    {ids::kAllItemsTemplate, QStringLiteral("全項目の設定"),
                     QStringLiteral("全項目設定"), ids::kAllItemsStart, ids::kAllItemsCounter,
                     ids::kAllItemsProgress, ids::kAllItemsAnswerPace, kRun, QString()},
                    owner) {}

void AllItemsDialog::PerformStep(int step) {
  // Built from the configuration as it stands now, not as it stood at the start.
  SendChecked(run_context(), AllItemsStep(config(), step), RefusalBox::kError);
}

}  // namespace qrv
