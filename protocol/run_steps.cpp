#include "run_steps.h"

#include <cassert>

namespace qrv {

static_assert(send_step::kBlink.last + 4 == kAllItemsSteps);
static_assert(read_step::kColours.last + 7 == kMaintenanceReadSteps);

AllItemsStepResult AllItemsStep(const DisplayConfig& config, int step) {
  using namespace send_step;
  assert(step >= 1 && step <= kAllItemsSteps);
  AllItemsStepResult r;
  const auto take = [&r](CheckedFrame checked, int page = -1) {
    static_cast<CheckedFrame&>(r) = std::move(checked);
    r.page = page;
  };
  if (kTitles.Holds(step)) {
    take(CheckedTitleFrame(config, kTitles.Page(step), true), kTitles.Page(step));
  } else if (step == kFill) {
    take(CheckedAllFillFrame(config));
  } else if (step == kCharLevel) {
    take(CheckedCharLevelFrame(config));
  } else if (kColours.Holds(step)) {
    take(CheckedPageColourFrame(config, kColours.Page(step)), kColours.Page(step));
  } else if (kBlink.Holds(step)) {
    take(CheckedPageBlinkFrame(config, kBlink.Page(step)), kBlink.Page(step));
  } else if (step == kDisplayPage) {
    take(CheckedDisplayPageFrame(config));
  } else if (step == kDisplayTime) {
    take(CheckedDisplayTimeFrame(config));
  } else if (step == kPositionH) {
    take(CheckedPositionHFrame(config));
  } else if (step == kPositionV) {
    take(CheckedPositionVFrame(config));
  }
  return r;
}

AllItemsStepResult PageSendStep(const DisplayConfig& config, int page, int step) {
  using namespace page_step;
  assert(step >= 1 && step <= kPageSendSteps);
  AllItemsStepResult r;
  switch (step) {
    case kTitle:
      static_cast<CheckedFrame&>(r) = CheckedTitleFrame(config, page, true);
      break;
    case kColours:
      static_cast<CheckedFrame&>(r) = CheckedPageColourFrame(config, page);
      break;
    case kBlink:
      static_cast<CheckedFrame&>(r) = CheckedPageBlinkFrame(config, page);
      break;
    case kFill:
      static_cast<CheckedFrame&>(r) = CheckedPageFillFrame(config, page);
      break;
    case kCharLevel:
      static_cast<CheckedFrame&>(r) = CheckedCharLevelFrame(config);
      return r;
    default:
      static_cast<CheckedFrame&>(r) = CheckedDisplayTimeFrame(config);
      return r;
  }
  r.page = page;
  return r;
}

std::optional<Frame> MaintenanceReadStep(int step) {
  using namespace read_step;
  assert(step >= 1 && step <= kMaintenanceReadSteps);
  if (kTitles.Holds(step)) return ReadTitleRequest(kTitles.Page(step));
  if (kBlink.Holds(step)) return ReadBlinkRequest(kBlink.Page(step));
  if (kColours.Holds(step)) return ReadColourRequest(kColours.Page(step));
  switch (step) {
    case kDisplayPage:
      return ReadDisplayPageRequest();
    case kDisplayTime:
      return ReadDisplayTimeRequest();
    case kFill:
      return ReadFillRequest();
    case kCharLevel:
      return ReadCharLevelRequest();
    case kPositionH:
      return ReadPositionHRequest();
    case kPositionV:
      return ReadPositionVRequest();
    default:
      return std::nullopt;  // the step between the colours and the display page
  }
}

}  // namespace qrv
