#include "char_colour_dialog.h"

#include <QComboBox>

#include "frame_senders.h"
#include "resource_ids.h"

namespace qrv {

CharColourDialog::CharColourDialog(DialogContext& context, QWidget* owner)
    : SettingDialog(context, ids::kCharColourTemplate, QStringLiteral("文字色の設定"), 300, 172,
                    owner) {
  const QStringList colours = ColourItems();
  chars_ = AddLineLists(QStringLiteral("Character color"), colours, "charColour",
                        ids::kCharColourFirst, 7, 7);
  borders_ = AddLineLists(QStringLiteral("Bordering color"), colours, "borderColour",
                          ids::kBorderColourFirst, 111, 7);
  for (int line = 0; line < kLines; ++line) {
    OnSetting(chars_[line],
              [this, line](int value) { config().char_colour[page()][line] = value; });
    OnSetting(borders_[line],
              [this, line](int value) { config().border_colour[page()][line] = value; });
  }
  AddPageColumn(
      215, [this] { SendPageColourFrame(this->context(), page(), RefusalBox::kWarning); },
      [this] { run()->Start(); });
  AddTimedRun(kRun, ids::kColourProgress, 7, 153, 286,
              [this](int step) { SendPageColourFrame(run_context(), step - 1); });
  LoadControls();
}

void CharColourDialog::Reload() {
  for (int line = 0; line < kLines; ++line) {
    Select(chars_[line], config().char_colour[page()][line]);
    Select(borders_[line], config().border_colour[page()][line]);
  }
}

}  // namespace qrv
