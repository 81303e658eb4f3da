#pragma once

#include "cli_context.h"
#include "cli_options.h"
#include "display_config.h"

namespace qrv {

// send and verify: every board of the options at once, each on its own thread. Returns the
// exit status.
int RunBoardTransfers(const CliOptions& options, const DisplayConfig& file, CliContext& context);

// read: one board into options.output.
int RunRead(const CliOptions& options, CliContext& context);

}  // namespace qrv
