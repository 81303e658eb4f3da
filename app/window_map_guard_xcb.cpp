#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include "window_map_guard.h"

namespace qrv {
namespace {

xcb_connection_t* Connection() {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 != nullptr ? x11->connection() : nullptr;
}

// Windows the window manager never handles: the X server maps them at once.
bool BypassesManager(const QWidget& window) {
  const Qt::WindowType type = window.windowType();
  return type == Qt::Popup || type == Qt::ToolTip ||
         window.windowFlags().testFlag(Qt::X11BypassWindowManagerHint);
}

}  // namespace

WindowMapGuard::WindowMapGuard(QObject* parent) : QObject(parent), repeat_(this) {
  if (QGuiApplication::platformName() != QLatin1String("xcb") || Connection() == nullptr) return;
  repeat_.setInterval(kRepeatMs);
  connect(&repeat_, &QTimer::timeout, this, &WindowMapGuard::RepeatRequests);
  qApp->installEventFilter(this);
  qApp->installNativeEventFilter(this);
}

WindowMapGuard::~WindowMapGuard() {
  if (qApp != nullptr) qApp->removeNativeEventFilter(this);
}

bool WindowMapGuard::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Show && event->type() != QEvent::Hide) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || !widget->isWindow() || widget->windowHandle() == nullptr) return false;
  const auto window = static_cast<unsigned>(widget->winId());
  if (event->type() == QEvent::Hide) {
    waiting_.erase(window);
  } else if (!BypassesManager(*widget) && !widget->isMinimized()) {
    // The show event comes before the map request goes out; the map is reported later.
    waiting_[window] = widget;
    repeats_left_ = kRepeats;
    repeat_.start();
  }
  return false;
}

bool WindowMapGuard::nativeEventFilter(const QByteArray& type, void* message, qintptr*) {
  if (type != "xcb_generic_event_t") return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
    waiting_.erase(reinterpret_cast<const xcb_map_notify_event_t*>(event)->window);
    if (waiting_.empty()) repeat_.stop();
  }
  return false;
}

void WindowMapGuard::RepeatRequests() {
  xcb_connection_t* connection = Connection();
  if (waiting_.empty() || --repeats_left_ < 0 || connection == nullptr) {
    repeat_.stop();
    return;
  }
  for (const auto& [window, widget] : waiting_) {
    // Minimised meanwhile: a map request would restore it.
    if (widget != nullptr && widget->isVisible() && !widget->isMinimized())
      xcb_map_window(connection, window);
  }
  xcb_flush(connection);
}

}  // namespace qrv
