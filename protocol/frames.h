#pragma once

#include <string>

#include "display_config.h"

namespace qrv {

// One line to the board, CR LF included.
using Frame = std::string;

// Longest frame the transmit path takes; every frame below is shorter.
constexpr std::size_t kMaxFrameBytes = 463;

// Set frames. Page arguments are page indexes 0..31; everything else comes from config.
Frame PageBlinkFrame(const DisplayConfig& config, int page);
Frame PageColourFrame(const DisplayConfig& config, int page);
Frame PageFillFrame(const DisplayConfig& config, int page);
Frame AllFillFrame(const DisplayConfig& config);
Frame DisplayTimeFrame(const DisplayConfig& config);
Frame CharLevelFrame(const DisplayConfig& config);
Frame PositionHFrame(const DisplayConfig& config);
Frame PositionVFrame(const DisplayConfig& config);
Frame DisplayPageFrame(const DisplayConfig& config);
Frame DisplayOnOffFrame(const DisplayConfig& config);

// A page whose line has both colours blank cannot be sent. Returns the first such line
// index, or -1 when the page may be sent.
int FirstBlankColourLine(const DisplayConfig& config, int page);

// Read requests of the maintenance read.
Frame ReadTitleRequest(int page);
Frame ReadBlinkRequest(int page);
Frame ReadColourRequest(int page);
Frame ReadDisplayPageRequest();
Frame ReadDisplayTimeRequest();
Frame ReadFillRequest();
Frame ReadCharLevelRequest();
Frame ReadPositionHRequest();
Frame ReadPositionVRequest();

}  // namespace qrv
