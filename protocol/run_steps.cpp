#include "run_steps.h"

#include <cassert>
#include <utility>

#include "frame_misfits.h"

namespace qrv {
namespace {

template <typename Build>
void Checked(AllItemsStepResult& r, std::string misfit, Build build) {
  if (misfit.empty()) {
    r.frame = build();
  } else {
    r.refusal = StepRefusal::kValue;
    r.misfit = std::move(misfit);
  }
}

}  // namespace

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
      Checked(r, PageColourMisfit(config, step - 36),
              [&] { return PageColourFrame(config, step - 36); });
    } else {
      r.refusal = StepRefusal::kColour;
    }
  } else if (step >= 68 && step <= 99) {
    Checked(r, PageBlinkMisfit(config, step - 68),
            [&] { return PageBlinkFrame(config, step - 68); });
  } else if (step == 100) {
    Checked(r, DisplayPageMisfit(config), [&] { return DisplayPageFrame(config); });
  } else if (step == 101) {
    Checked(r, DisplayTimeMisfit(config), [&] { return DisplayTimeFrame(config); });
  } else if (step == 102) {
    Checked(r, PositionHMisfit(config), [&] { return PositionHFrame(config); });
  } else if (step == 103) {
    Checked(r, PositionVMisfit(config), [&] { return PositionVFrame(config); });
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
