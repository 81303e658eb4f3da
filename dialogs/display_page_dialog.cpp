#include "display_page_dialog.h"

#include <QComboBox>

#include "frame_senders.h"
#include "resource_ids.h"

namespace qrv {

DisplayPageDialog::DisplayPageDialog(DialogContext& context, QWidget* owner)
    : SettingDialog(context, ids::kDisplayPageTemplate, QStringLiteral("表示ページの設定"), 208, 48,
                    owner) {
  QComboBox* list = AddListAndSend(
      QStringLiteral("Page No."), NumberItems(1, kPages, 2) << QStringLiteral("Auto"),
      "displayPage", ids::kDisplayPageList, "send", ids::kDisplayPageSet, 7, 7,
      [this] { SendDisplayPageFrame(this->context()); });
  // Shows current_page whatever the "Auto" flag says; the flag changes only by a choice
  // here, and the frame follows the flag.
  Select(list, config().current_page);
  connect(list, &QComboBox::activated, this, [this](int index) {
    config().current_page = index;
    config().display_page_auto = index >= kAutoPage ? 1 : 0;
    this->context().ConfigChanged();
  });
  AddSlaveNumber(ids::kSlaveNoCombo, 123, 7);
}

}  // namespace qrv
