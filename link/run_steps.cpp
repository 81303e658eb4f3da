#include "run_steps.h"

#include <cassert>

namespace qrv {

AllItemsStepResult AllItemsStep(const DisplayConfig& config, int step) {
  assert(step >= 1 && step <= kAllItemsSteps);
  AllItemsStepResult r;
  if (step <= 32) {
    r.frame = BuildTitleFrame(config, step - 1, true, &r.title);
    if (!r.frame) r.refusal = StepRefusal::kTitle;
  } else if (step == 34) {
    r.frame = AllFillFrame(config);
  } else if (step == 35) {
    r.frame = CharLevelFrame(config);
  } else if (step >= 36 && step <= 67) {
    r.colour_line = FirstBlankColourLine(config, step - 36);
    if (r.colour_line < 0) {
      r.frame = PageColourFrame(config, step - 36);
    } else {
      r.refusal = StepRefusal::kColour;
    }
  } else if (step >= 68 && step <= 99) {
    r.frame = PageBlinkFrame(config, step - 68);
  } else if (step == 100) {
    r.frame = DisplayPageFrame(config);
  } else if (step == 101) {
    r.frame = DisplayTimeFrame(config);
  } else if (step == 102) {
    r.frame = PositionHFrame(config);
  } else if (step == 103) {
    r.frame = PositionVFrame(config);
  }
  return r;
}

std::optional<Frame> MaintenanceReadStep(int step) {
  assert(step >= 1 && step <= kMaintenanceReadSteps);
  if (step <= 32) return ReadTitleRequest(step - 1);
  if (step <= 64) return ReadBlinkRequest(step - 33);
  if (step <= 96) return ReadColourRequest(step - 65);
  switch (step) {
    case 98:
      return ReadDisplayPageRequest();
    case 99:
      return ReadDisplayTimeRequest();
    case 100:
      return ReadFillRequest();
    case 101:
      return ReadCharLevelRequest();
    case 102:
      return ReadPositionHRequest();
    case 103:
      return ReadPositionVRequest();
    default:
      return std::nullopt;  // step 97 sends nothing
  }
}

}  // namespace qrv
