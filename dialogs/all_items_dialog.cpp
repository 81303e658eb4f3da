#include "all_items_dialog.h"

#include "frame_misfits.h"
#include "messages.h"
#include "run_steps.h"

namespace qrv {

static_assert(AllItemsDialog::kRun.steps == kAllItemsSteps);

AllItemsDialog::AllItemsDialog(DialogContext& context, QWidget* owner)
    : FullRunDialog(context,
                    {ids::kAllItemsTemplate, QStringLiteral("全項目の設定"),
                     QStringLiteral("全項目設定"), ids::kAllItemsStart, ids::kAllItemsCounter,
                     ids::kAllItemsProgress, ids::kAllItemsAnswerPace, kRun, QString()},
                    owner) {}

void AllItemsDialog::PerformStep(int step) {
  // Built from the configuration as it stands now, not as it stood at the start.
  const AllItemsStepResult result = AllItemsStep(config(), step);
  if (result.frame) {
    Send(*result.frame);
  } else if (result.refusal == StepRefusal::kTitle) {
    run_context().reporter.WarningBox(msg::kTitleRefused);
  } else if (result.refusal == StepRefusal::kColour) {
    run_context().reporter.ErrorBox(msg::kCantSetColour);
  } else if (result.refusal == StepRefusal::kValue) {
    run_context().reporter.ErrorBox(MisfitMessage(result.misfit));
  }
}

}  // namespace qrv
