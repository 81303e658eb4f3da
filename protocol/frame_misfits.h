#pragma once

#include <string>

#include "display_config.h"

namespace qrv {

// The first value a frame's fixed layout cannot carry (more than its digits hold, a page
// beyond 32), as "page 2 line 1 character colour 99"; empty when the frame can be built.
// Such a frame is never sent: its bytes would not be digits where the board reads digits.
std::string PageBlinkMisfit(const DisplayConfig& config, int page);
std::string PageColourMisfit(const DisplayConfig& config, int page);
std::string DisplayTimeMisfit(const DisplayConfig& config);
std::string PositionHMisfit(const DisplayConfig& config);
std::string PositionVMisfit(const DisplayConfig& config);
std::string DisplayPageMisfit(const DisplayConfig& config);

// The box shown for a frame refused for such a value.
std::string MisfitMessage(const std::string& misfit);

}  // namespace qrv
