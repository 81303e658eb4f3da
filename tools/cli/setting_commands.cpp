#include "setting_commands.h"

#include "frames.h"
#include "send_plan.h"
#include "transfer_commands.h"

namespace qrv {

int RunSettingCommand(const CliOptions& options, CliContext& context) {
  // Chosen as the dialog would store it.
  DisplayConfig setting;
  Frame frame;
  if (options.command == CliCommand::kDisplay) {
    setting.display_on = options.display_on ? 1 : 0;
    frame = DisplayOnOffFrame(setting);
  } else {
    setting.display_page_auto = options.shown_page == 0 ? 1 : 0;
    setting.current_page = options.shown_page == 0 ? kAutoPage : options.shown_page - 1;
    frame = DisplayPageFrame(setting);
  }
  return RunBoardTransfers(options, setting, OneFramePlan(std::move(frame)), context);
}

}  // namespace qrv
