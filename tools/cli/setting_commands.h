#pragma once

#include "cli_context.h"
#include "cli_options.h"

namespace qrv {

// display and page: the one frame of the display on/off or the display page dialog's
// "設定" to every board of the options at once. Returns the exit status.
int RunSettingCommand(const CliOptions& options, CliContext& context);

}  // namespace qrv
