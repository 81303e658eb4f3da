#pragma once

#include <string>
#include <vector>

#include "display_config.h"
#include "send_plan.h"

namespace qrv {

// Every page of config that the steps of plan pass over, one line each with page, line and
// why: "page 3 line 2: title refused: odd number of bytes (a half-width character?)", or a
// value its frame cannot carry.
std::vector<std::string> SendRefusals(const DisplayConfig& config, const SendPlan& plan);

}  // namespace qrv
