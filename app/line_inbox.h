#pragma once

#include <deque>
#include <functional>
#include <string>

namespace qrv {

// Received lines waiting for the dispatcher on the GUI thread. A line that arrives while the
// dispatcher is busy with an earlier one (a message box of its own runs a nested event loop)
// waits here and is dispatched, in order, once the earlier one is done.
class LineInbox {
 public:
  explicit LineInbox(std::function<void(const std::string&)> dispatch)
      : dispatch_(std::move(dispatch)) {}

  void Post(std::string line);
  std::size_t waiting() const { return lines_.size(); }

 private:
  std::function<void(const std::string&)> dispatch_;
  std::deque<std::string> lines_;
  bool dispatching_ = false;
};

}  // namespace qrv
