#include "link_watchdog.h"

#include "messages.h"

namespace qrv {

void LinkWatchdog(LinkState& link, Reporter& reporter, const std::function<void()>& on_no_connect) {
  if (link.AnswerPending == 0 || link.BatchRunning != 0) return;
  const int taken = link.UnansweredTicks++;
  if (taken < kUnansweredTicksLimit) return;
  link.AnswerPending = 0;
  link.UnansweredTicks = 0;
  if (on_no_connect) on_no_connect();
  reporter.ErrorBox(msg::kNoConnect);
}

}  // namespace qrv
