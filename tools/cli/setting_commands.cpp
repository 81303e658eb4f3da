#include "setting_commands.h"

#include "checked_frame.h"
#include "send_plan.h"
#include "transfer_commands.h"

namespace qrv {

int RunSettingCommand(const CliOptions& options, CliContext& context) {
  // Chosen as the dialog would store it.
  DisplayConfig setting;
  CheckedFrame frame;
  if (options.command == CliCommand::kDisplay) {
    setting.display_on = options.display_on ? 1 : 0;
    frame = CheckedDisplayOnOffFrame(setting);
  } else {
    setting.display_page_auto = options.shown_page == 0 ? 1 : 0;
    setting.current_page = options.shown_page == 0 ? kAutoPage : options.shown_page - 1;
    frame = CheckedDisplayPageFrame(setting);
  }
  return RunBoardTransfers(options, setting, OneFramePlan(std::move(frame)), context);
}

}  // namespace qrv
