#include "link_watchdog.h"

#include "messages.h"

namespace qrv {

void LinkWatchdog(LinkState& link, Reporter& reporter) {
  if (link.AnswerPending == 0 || link.BatchRunning != 0) return;
  const int taken = link.UnansweredTicks++;
  if (taken < kUnansweredTicksLimit) return;
  link.AnswerPending = 0;
  link.UnansweredTicks = 0;
  reporter.ErrorBox(msg::kNoConnect);
}

}  // namespace qrv
