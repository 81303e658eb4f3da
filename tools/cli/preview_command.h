#pragma once

#include <string>
#include <vector>

#include "cli_context.h"
#include "cli_options.h"
#include "display_config.h"

namespace qrv {

// preview: page options.page of config (or all pages) as a PNG in options.output, after the
// file's problems as warnings. Returns the exit status.
int RunPreview(const CliOptions& options, const DisplayConfig& config,
               const std::vector<std::string>& problems, CliContext& context);

}  // namespace qrv
