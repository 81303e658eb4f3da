#include "frame_senders.h"

#include "frames.h"

namespace qrv {

bool SendChecked(const DialogContext& context, const CheckedFrame& checked, RefusalBox box) {
  if (checked.frame) {
    context.SendFrame(*checked.frame);
    return true;
  }
  if (checked.refusal == FrameRefusal::kNone) return false;  // a step that sends nothing
  const std::string text = RefusalMessage(checked);
  if (box == RefusalBox::kWarning || checked.refusal == FrameRefusal::kTitle) {
    context.reporter.WarningBox(text);
  } else {
    context.reporter.ErrorBox(text);
  }
  return false;
}

void SendPageBlinkFrame(const DialogContext& context, int page, RefusalBox box) {
  SendChecked(context, CheckedPageBlinkFrame(context.config, page), box);
}

void SendPageFillFrame(const DialogContext& context, int page) {
  SendChecked(context, CheckedPageFillFrame(context.config, page));
}

void SendAllFillFrame(const DialogContext& context) {
  SendChecked(context, CheckedAllFillFrame(context.config));
}

void SendDisplayPageFrame(const DialogContext& context) {
  SendChecked(context, CheckedDisplayPageFrame(context.config));
}

void SendDisplayOnOffFrame(const DialogContext& context) {
  SendChecked(context, CheckedDisplayOnOffFrame(context.config));
}

void SendDisplayTimeFrame(const DialogContext& context) {
  SendChecked(context, CheckedDisplayTimeFrame(context.config));
}

void SendCharLevelFrame(const DialogContext& context) {
  SendChecked(context, CheckedCharLevelFrame(context.config));
}

void SendPositionHFrame(const DialogContext& context) {
  SendChecked(context, CheckedPositionHFrame(context.config));
}

void SendPositionVFrame(const DialogContext& context) {
  SendChecked(context, CheckedPositionVFrame(context.config));
}

bool SendTitleFrame(const DialogContext& context, bool store, int page) {
  return SendChecked(context, CheckedTitleFrame(context.config, page, store));
}

bool SendPageColourFrame(const DialogContext& context, int page, RefusalBox box) {
  return SendChecked(context, CheckedPageColourFrame(context.config, page), box);
}

}  // namespace qrv
