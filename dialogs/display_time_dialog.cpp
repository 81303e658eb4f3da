#include "display_time_dialog.h"

#include "frame_senders.h"
#include "resource_ids.h"

namespace qrv {

DisplayTimeDialog::DisplayTimeDialog(DialogContext& context, QWidget* owner)
    : PageGroupDialog(context,
                      Kind{ids::kDisplayTimeTemplate, QStringLiteral("表示時間の設定"),
                           QStringLiteral("Time(Second)"), NumberItems(kDisplayTimeRange), "time",
                           ids::kTimeListFirst, ids::kTimeSlaveNoCombo,
                           &DisplayConfig::display_time, &SendDisplayTimeFrame},
                      owner) {}

}  // namespace qrv
