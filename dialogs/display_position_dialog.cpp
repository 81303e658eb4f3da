#include "display_position_dialog.h"

#include <QComboBox>

#include "frame_senders.h"
#include "resource_ids.h"

namespace qrv {

DisplayPositionDialog::DisplayPositionDialog(DialogContext& context, QWidget* owner)
    : SettingDialog(context, ids::kDisplayPositionTemplate, QStringLiteral("表示位置微調整"), 208,
                    87, owner) {
  QComboBox* h = AddListAndSend(
      QStringLiteral("Horizontal"), NumberItems(kPositionRange), "horizontal", ids::kPositionHList,
      "sendHorizontal", ids::kPositionHSet, 7, 7, [this] { SendPositionHFrame(this->context()); });
  QComboBox* v = AddListAndSend(QStringLiteral("Vertical"), NumberItems(kPositionRange), "vertical",
                                ids::kPositionVList, "sendVertical", ids::kPositionVSet, 7, 46,
                                [this] { SendPositionVFrame(this->context()); });
  Select(h, config().position_h);
  Select(v, config().position_v);
  OnSetting(h, [this](int value) { config().position_h = value; });
  OnSetting(v, [this](int value) { config().position_v = value; });
  AddSlaveNumber(ids::kSlaveNoCombo, 123, 7);
}

}  // namespace qrv
