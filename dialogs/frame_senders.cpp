#include "frame_senders.h"

#include "frame_misfits.h"
#include "frames.h"
#include "messages.h"
#include "title_frame.h"

namespace qrv {
namespace {

void Refuse(const DialogContext& context, const std::string& text, RefusalBox box) {
  if (box == RefusalBox::kWarning) {
    context.reporter.WarningBox(text);
  } else {
    context.reporter.ErrorBox(text);
  }
}

// Sends the frame unless a value does not fit it; whether it was sent.
template <typename Build>
bool SendFitting(const DialogContext& context, const std::string& misfit, Build build,
                 RefusalBox box = RefusalBox::kWarning) {
  if (!misfit.empty()) {
    Refuse(context, MisfitMessage(misfit), box);
    return false;
  }
  context.SendFrame(build(context.config));
  return true;
}

}  // namespace

void SendPageBlinkFrame(const DialogContext& context, int page, RefusalBox box) {
  SendFitting(
      context, PageBlinkMisfit(context.config, page),
      [page](const DisplayConfig& c) { return PageBlinkFrame(c, page); }, box);
}

void SendPageFillFrame(const DialogContext& context, int page) {
  context.SendFrame(PageFillFrame(context.config, page));
}

void SendAllFillFrame(const DialogContext& context) {
  context.SendFrame(AllFillFrame(context.config));
}

void SendDisplayPageFrame(const DialogContext& context) {
  SendFitting(context, DisplayPageMisfit(context.config), DisplayPageFrame);
}

void SendDisplayOnOffFrame(const DialogContext& context) {
  context.SendFrame(DisplayOnOffFrame(context.config));
}

void SendDisplayTimeFrame(const DialogContext& context) {
  SendFitting(context, DisplayTimeMisfit(context.config), DisplayTimeFrame);
}

void SendCharLevelFrame(const DialogContext& context) {
  context.SendFrame(CharLevelFrame(context.config));
}

void SendPositionHFrame(const DialogContext& context) {
  SendFitting(context, PositionHMisfit(context.config), PositionHFrame);
}

void SendPositionVFrame(const DialogContext& context) {
  SendFitting(context, PositionVMisfit(context.config), PositionVFrame);
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
    Refuse(context, msg::kCantSetColour, box);
    return false;
  }
  return SendFitting(
      context, PageColourMisfit(context.config, page),
      [page](const DisplayConfig& c) { return PageColourFrame(c, page); }, box);
}

}  // namespace qrv
