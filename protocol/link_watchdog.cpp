#include "link_watchdog.h"

#include "messages.h"

namespace qrv {

void LinkWatchdog(LinkState& link, Reporter& reporter, const std::function<void()>& on_no_connect) {
  if (link.AnswerPending() == 0 || link.BatchRunning() != 0) return;
  if (link.UnansweredTick() < kUnansweredTicksLimit) return;
  link.AnswerGivenUp();
  if (on_no_connect) on_no_connect();
  reporter.ErrorBox(msg::kNoConnect);
}

}  // namespace qrv
