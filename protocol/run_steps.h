#pragma once

#include <optional>
#include <string>

#include "display_config.h"
#include "frames.h"
#include "title_frame.h"

namespace qrv {

// The step tables of the two 103-step runs: sending the whole configuration and reading it
// back. Steps count from 1; a step may send nothing.
constexpr int kAllItemsSteps = 103;
constexpr int kMaintenanceReadSteps = 103;

enum class StepRefusal { kNone, kTitle, kColour, kValue };

struct AllItemsStepResult {
  std::optional<Frame> frame;
  StepRefusal refusal = StepRefusal::kNone;
  TitleCheck title;      // why a title page was refused
  int colour_line = -1;  // the both-blank line of a refused colour page
  std::string misfit;    // the value a refused frame could not carry
};

// Title frames (stored form) of pages 1..32, nothing at 33, fill, level, colours and blink of
// every page, display page, display time, horizontal and vertical position. Display on/off
// is never part of it. A frame a value does not fit is refused (kValue), not sent broken.
AllItemsStepResult AllItemsStep(const DisplayConfig& config, int step);

// Title, blink and colour requests of every page, nothing at 97, then the display page,
// time, fill, level and the two positions.
std::optional<Frame> MaintenanceReadStep(int step);

}  // namespace qrv
