#pragma once

#include "checked_frame.h"
#include "dialog_context.h"

namespace qrv {

// Where a refused frame is reported: the error box (runs) or the warning box (the "設定"
// button). A refused title page always brings the title warning.
enum class RefusalBox { kError, kWarning };

// Hands the frame to SendFrame, or shows why it cannot be sent. Returns whether it was sent.
bool SendChecked(const DialogContext& context, const CheckedFrame& checked,
                 RefusalBox box = RefusalBox::kWarning);

// Each builds its frame from the configuration at the moment of the call and sends it as
// SendChecked does. Page arguments are page indexes 0..31.
void SendPageBlinkFrame(const DialogContext& context, int page,
                        RefusalBox box = RefusalBox::kError);
void SendPageFillFrame(const DialogContext& context, int page);
void SendAllFillFrame(const DialogContext& context);
void SendDisplayPageFrame(const DialogContext& context);
void SendDisplayOnOffFrame(const DialogContext& context);
void SendDisplayTimeFrame(const DialogContext& context);
void SendCharLevelFrame(const DialogContext& context);
void SendPositionHFrame(const DialogContext& context);
void SendPositionVFrame(const DialogContext& context);
// The title frame of a page, "CA" (store) or "CN".
bool SendTitleFrame(const DialogContext& context, bool store, int page);
// A page with a line whose colours are both blank is refused: "Miss! Can't Set".
bool SendPageColourFrame(const DialogContext& context, int page,
                         RefusalBox box = RefusalBox::kError);

}  // namespace qrv
