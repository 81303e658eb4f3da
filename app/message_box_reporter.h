#pragma once

#include <QPointer>
#include <QWidget>

#include "reporter.h"

namespace qrv {

// Shows every report as a message box. Error and warning boxes have no owner: they may come
// while any window is open. The two completion boxes belong to the setting dialog that was
// opened last (ResponseBoxOwner), while it still exists.
class MessageBoxReporter : public Reporter {
 public:
  void ErrorBox(std::string_view text) override;
  void WarningBox(std::string_view text) override;
  void SetCompleteBox() override;
  void ReadCompleteBox() override;

  void set_response_box_owner(QWidget* window) { ResponseBoxOwner = window; }

 private:
  QPointer<QWidget> ResponseBoxOwner;
};

}  // namespace qrv
