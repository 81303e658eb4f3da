#include "blink_dialog.h"

#include <QComboBox>

#include "frame_senders.h"
#include "resource_ids.h"

namespace qrv {

BlinkDialog::BlinkDialog(DialogContext& context, QWidget* owner)
    : SettingDialog(context, ids::kBlinkTemplate, QStringLiteral("点滅表示の設定"), 196, 172,
                    owner) {
  lines_ = AddLineLists(QStringLiteral("Blink display"), NumberItems(kBlinkRange), "blinkLine",
                        ids::kBlinkLineFirst, 7, 7);
  for (int line = 0; line < kLines; ++line) {
    OnSetting(lines_[line], [this, line](int value) { config().blink[page()][line] = value; });
  }
  AddPageColumn(
      111, [this] { SendPageBlinkFrame(this->context(), page(), RefusalBox::kWarning); },
      [this] { run()->Start(); });
  AddTimedRun(kRun, ids::kBlinkProgress, 7, 153, 182,
              [this](int step) { SendPageBlinkFrame(run_context(), step - 1); });
  LoadControls();
}

void BlinkDialog::Reload() {
  for (int line = 0; line < kLines; ++line) Select(lines_[line], config().blink[page()][line]);
}

}  // namespace qrv
