#include "line_inbox.h"

namespace qrv {

void LineInbox::Post(std::string line) {
  lines_.push_back(std::move(line));
  // Reached again from inside a dispatch: the outer call drains the queue.
  if (dispatching_) return;
  dispatching_ = true;
  while (!lines_.empty()) {
    const std::string next = std::move(lines_.front());
    lines_.pop_front();
    dispatch_(next);
  }
  dispatching_ = false;
}

}  // namespace qrv
