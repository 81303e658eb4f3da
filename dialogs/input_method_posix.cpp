#include "input_method.h"

namespace qrv {

// Qt and the desktop's input method framework handle Japanese entry here.
void InputMethodOpener::Open(QWidget*) {}
void InputMethodOpener::Restore(QWidget*) {}

}  // namespace qrv
