#include "char_level_dialog.h"

#include "frame_senders.h"
#include "resource_ids.h"

namespace qrv {

CharLevelDialog::CharLevelDialog(DialogContext& context, QWidget* owner)
    : PageGroupDialog(
          context,
          Kind{ids::kCharLevelTemplate, QStringLiteral("文字レベルの設定"),
               QStringLiteral("White level"), LevelItems(), "level", ids::kLevelListFirst,
               ids::kSlaveNoCombo, &DisplayConfig::char_level, &SendCharLevelFrame},
          owner) {}

}  // namespace qrv
