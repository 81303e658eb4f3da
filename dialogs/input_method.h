#pragma once

class QWidget;

namespace qrv {

// Opens the input method for Japanese entry while a dialog is shown, and sets its open
// status back when the dialog closes. Where the platform leaves input methods to Qt, it does
// nothing.
class InputMethodOpener {
 public:
  void Open(QWidget* window);
  void Restore(QWidget* window);

 private:
  bool opened_ = false;
  int saved_status_ = 0;
};

}  // namespace qrv
