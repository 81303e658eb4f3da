#pragma once

#include "reporter.h"

namespace qrv {

// Shows each box once the event being handled has returned. A timed run's step uses it: Qt
// delivers no further tick of a timer while that timer's handler is still running, so a
// box opened inside a tick would hold the run, where the run must go on while it is open.
class QueuedReporter : public Reporter {
 public:
  explicit QueuedReporter(Reporter& target) : target_(target) {}

  void ErrorBox(std::string_view text) override;
  void WarningBox(std::string_view text) override;
  void SetCompleteBox() override;
  void ReadCompleteBox() override;

 private:
  Reporter& target_;
};

}  // namespace qrv
