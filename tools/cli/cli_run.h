#pragma once

#include <string>
#include <vector>

#include "cli_context.h"

namespace qrv {

// The whole client: the command line after the program's name in, the exit status out
// (0 done, 1 a board, file or page failed, 2 a command line that makes no sense).
int RunCli(const std::vector<std::string>& args, CliContext& context);

}  // namespace qrv
