#include "frame_senders.h"

#include "frames.h"
#include "messages.h"
#include "title_frame.h"

namespace qrv {

void SendPageBlinkFrame(const DialogContext& context, int page) {
  context.SendFrame(PageBlinkFrame(context.config, page));
}

void SendPageFillFrame(const DialogContext& context, int page) {
  context.SendFrame(PageFillFrame(context.config, page));
}

void SendAllFillFrame(const DialogContext& context) {
  context.SendFrame(AllFillFrame(context.config));
}

void SendDisplayPageFrame(const DialogContext& context) {
  context.SendFrame(DisplayPageFrame(context.config));
}

void SendDisplayOnOffFrame(const DialogContext& context) {
  context.SendFrame(DisplayOnOffFrame(context.config));
}

void SendDisplayTimeFrame(const DialogContext& context) {
  context.SendFrame(DisplayTimeFrame(context.config));
}

void SendCharLevelFrame(const DialogContext& context) {
  context.SendFrame(CharLevelFrame(context.config));
}

void SendPositionHFrame(const DialogContext& context) {
  context.SendFrame(PositionHFrame(context.config));
}

void SendPositionVFrame(const DialogContext& context) {
  context.SendFrame(PositionVFrame(context.config));
}

bool SendTitleFrame(const DialogContext& context, bool store, int page) {
  const std::optional<Frame> frame = BuildTitleFrame(context.config, page, store);
  if (!frame) {
    context.reporter.WarningBox(msg::kTitleRefused);
    return false;
  }
  context.SendFrame(*frame);
  return true;
}

bool SendPageColourFrame(const DialogContext& context, int page, RefusalBox box) {
  if (FirstBlankColourLine(context.config, page) >= 0) {
    if (box == RefusalBox::kWarning) {
      context.reporter.WarningBox(msg::kCantSetColour);
    } else {
      context.reporter.ErrorBox(msg::kCantSetColour);
    }
    return false;
  }
  context.SendFrame(PageColourFrame(context.config, page));
  return true;
}

}  // namespace qrv
