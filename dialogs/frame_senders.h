#pragma once

#include "dialog_context.h"

namespace qrv {

// A frame that a value does not fit (see frame_misfits.h) is not sent: "Miss! Can't Set"
// with the value, in the error box (runs) or the warning box (the "設定" button).
enum class RefusalBox { kError, kWarning };

// Each builds its frame from the configuration at the moment of the call and hands it to
// SendFrame. Page arguments are page indexes 0..31.
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

// The title frame of a page, "CA" (store) or "CN". A page that cannot be converted is not
// sent: the title warning instead. Returns whether it was sent.
bool SendTitleFrame(const DialogContext& context, bool store, int page);

// A page with a line whose colours are both blank is not sent either: "Miss! Can't Set".
// Returns whether it was sent.
bool SendPageColourFrame(const DialogContext& context, int page,
                         RefusalBox box = RefusalBox::kError);

}  // namespace qrv
