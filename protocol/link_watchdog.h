#pragma once

#include <functional>

#include "link_state.h"
#include "periods.h"
#include "reporter.h"

namespace qrv {

// One tick of the answer watchdog. Counts only while an answer is pending and no timed run
// is under way; at the seventh such tick the flags are cleared before "No Connect" is
// shown, so ticks delivered while the box is open find nothing pending. on_no_connect, when
// given, hears of the report before the box is shown (the box may wait for the operator).
void LinkWatchdog(LinkState& link, Reporter& reporter,
                  const std::function<void()>& on_no_connect = {});

}  // namespace qrv
