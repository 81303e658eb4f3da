#include "display_on_off_dialog.h"

#include <QComboBox>

#include "frame_senders.h"
#include "resource_ids.h"

namespace qrv {

DisplayOnOffDialog::DisplayOnOffDialog(DialogContext& context, QWidget* owner)
    : SettingDialog(context, ids::kDisplayOnOffTemplate, QStringLiteral("表示/非表示の設定"), 208,
                    48, owner) {
  QComboBox* list =
      AddListAndSend(QStringLiteral("Display"), {QStringLiteral("OFF "), QStringLiteral("ON  ")},
                     "display", ids::kDisplayOnOffList, "send", ids::kDisplayOnOffSet, 7, 7,
                     [this] { SendDisplayOnOffFrame(this->context()); });
  Select(list, config().display_on);
  connect(list, &QComboBox::activated, this, [this](int index) { config().display_on = index; });
  AddSlaveNumber(ids::kSlaveNoCombo, 123, 7);
}

}  // namespace qrv
