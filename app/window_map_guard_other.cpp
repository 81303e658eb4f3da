#include "window_map_guard.h"

namespace qrv {

// Without X11 the platform maps windows itself.
WindowMapGuard::WindowMapGuard(QObject* parent) : QObject(parent), repeat_(this) {}
WindowMapGuard::~WindowMapGuard() = default;

bool WindowMapGuard::eventFilter(QObject*, QEvent*) {
  return false;
}

bool WindowMapGuard::nativeEventFilter(const QByteArray&, void*, qintptr*) {
  return false;
}

void WindowMapGuard::RepeatRequests() {}

}  // namespace qrv
