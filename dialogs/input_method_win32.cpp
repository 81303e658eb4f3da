#include <windows.h>
// windows.h first: imm.h needs its types.
#include <imm.h>

#include <QWidget>

#include "input_method.h"

namespace qrv {

void InputMethodOpener::Open(QWidget* window) {
  if (opened_) return;
  const auto hwnd = reinterpret_cast<HWND>(window->winId());
  const HIMC context = ImmGetContext(hwnd);
  if (context == nullptr) return;
  saved_status_ = ImmGetOpenStatus(context);
  ImmSetOpenStatus(context, TRUE);
  ImmReleaseContext(hwnd, context);
  opened_ = true;
}

void InputMethodOpener::Restore(QWidget* window) {
  if (!opened_) return;
  opened_ = false;
  const auto hwnd = reinterpret_cast<HWND>(window->winId());
  const HIMC context = ImmGetContext(hwnd);
  if (context == nullptr) return;
  ImmSetOpenStatus(context, saved_status_);
  ImmReleaseContext(hwnd, context);
}

}  // namespace qrv
