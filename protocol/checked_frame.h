#pragma once

#include <optional>
#include <string>

#include "display_config.h"
#include "frames.h"
#include "title_frame.h"

namespace qrv {

enum class FrameRefusal {
  kNone,
  kTitle,   // a title page the board cannot take
  kColour,  // a line with both colours blank
  kValue,   // a value the frame's fixed layout cannot carry
};

// A frame ready to send, or why it cannot be built. A value outside those the dialogs offer
// and the board takes (a colour of 99, a fill of 0x80, a page beyond 32) would put what the
// board refuses or bytes that are not digits where it reads digits, so such a frame is
// never built.
struct CheckedFrame {
  std::optional<Frame> frame;
  FrameRefusal refusal = FrameRefusal::kNone;
  TitleCheck title;      // kTitle: why the page was refused
  int colour_line = -1;  // kColour: the line index whose colours are both blank
  std::string misfit;    // kValue: the value, as "page 2 line 1 character colour 99 (0..8)"
};

// The checked kinds of frame; page arguments are page indexes 0..31.
CheckedFrame CheckedTitleFrame(const DisplayConfig& config, int page, bool store);
CheckedFrame CheckedPageColourFrame(const DisplayConfig& config, int page);
CheckedFrame CheckedPageBlinkFrame(const DisplayConfig& config, int page);
CheckedFrame CheckedPageFillFrame(const DisplayConfig& config, int page);
CheckedFrame CheckedAllFillFrame(const DisplayConfig& config);
CheckedFrame CheckedCharLevelFrame(const DisplayConfig& config);
CheckedFrame CheckedDisplayPageFrame(const DisplayConfig& config);
CheckedFrame CheckedDisplayOnOffFrame(const DisplayConfig& config);
CheckedFrame CheckedDisplayTimeFrame(const DisplayConfig& config);
CheckedFrame CheckedPositionHFrame(const DisplayConfig& config);
CheckedFrame CheckedPositionVFrame(const DisplayConfig& config);

// What the operator is told of a refused frame.
std::string RefusalMessage(const CheckedFrame& checked);

}  // namespace qrv
