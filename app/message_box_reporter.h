#pragma once

#include "reporter.h"

namespace qrv {

// Shows every report as a message box, kept above the program's windows until answered.
// Error and warning boxes have no owner: they may come while any window is open. The two completion
// boxes belong to ResponseBoxOwner, the window recorded when the last setting dialog opened, while
// that window still exists.
class MessageBoxReporter : public Reporter {
 public:
  void ErrorBox(std::string_view text) override;
  void WarningBox(std::string_view text) override;
  void SetCompleteBox() override;
  void ReadCompleteBox() override;
};

}  // namespace qrv
