#include "fill_bordering_dialog.h"

#include <QComboBox>

#include "frame_senders.h"
#include "resource_ids.h"

namespace qrv {

FillBorderingDialog::FillBorderingDialog(DialogContext& context, QWidget* owner)
    : SettingDialog(context, ids::kFillBorderingTemplate,
                    QStringLiteral("文字背景色ベタ塗りの設定"), 196, 152, owner) {
  lines_ =
      AddLineLists(QStringLiteral("Fill bordering"), {QStringLiteral("OFF"), QStringLiteral(" ON")},
                   "fillLine", ids::kFillLineFirst, 7, 7);
  for (int line = 0; line < kLines; ++line) {
    OnSetting(lines_[line],
              [this, line](int value) { config().set_fill(page(), line, value != 0); });
  }
  // One frame carries every page: no run, so its answer brings "設定完了" like any send.
  AddPageColumn(
      111, [this] { SendPageFillFrame(this->context(), page()); },
      [this] { SendAllFillFrame(this->context()); });
  LoadControls();
}

void FillBorderingDialog::Reload() {
  for (int line = 0; line < kLines; ++line) {
    Select(lines_[line], config().fill(page(), line) ? 1 : 0);
  }
}

}  // namespace qrv
