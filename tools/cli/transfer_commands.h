#pragma once

#include "cli_context.h"
#include "cli_options.h"
#include "display_config.h"
#include "send_plan.h"

namespace qrv {

// send, display, page and verify: the steps of plan (none for verify) to every board of the
// options at once, each on its own thread, then the read-back verify asks for. Returns the
// exit status.
int RunBoardTransfers(const CliOptions& options, const DisplayConfig& file, const SendPlan& plan,
                      CliContext& context);

// read: one board into options.output.
int RunRead(const CliOptions& options, CliContext& context);

}  // namespace qrv
