#pragma once

#include <vector>

#include "display_config.h"
#include "frames.h"
#include "run_steps.h"
#include "send_selection.h"

namespace qrv {

// The steps of a send in the order of the whole run, each a frame or a page passed over.
using SendPlan = std::vector<AllItemsStepResult>;

// What the setting dialogs' buttons send for the selection: with nothing narrowed the whole
// run, step for step; otherwise only the frames chosen, one step each. The per-page kinds go
// for the pages chosen, as each dialog's "設定"; fill for chosen pages goes page by page, and
// otherwise in the one frame of all pages; the kinds that carry every page go once.
SendPlan PlanSend(const DisplayConfig& config, const SendSelection& selection);

// A single frame for the whole board.
SendPlan OneFramePlan(CheckedFrame frame);

}  // namespace qrv
