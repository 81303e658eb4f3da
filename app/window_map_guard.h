#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <map>

namespace qrv {

// Sees that every top-level window the program shows is mapped. A window manager that is
// starting while a window asks to be mapped may leave that request unanswered until some
// other event wakes it (openbox 3.6 does), and then the window never appears. Until the X
// server reports a shown window mapped, its map request is repeated now and then; a request
// for a window the manager has already framed changes nothing. Does nothing off X11.
class WindowMapGuard : public QObject, public QAbstractNativeEventFilter {
 public:
  static constexpr int kRepeatMs = 250;
  static constexpr int kRepeats = 40;  // then the window manager is not listening at all

  explicit WindowMapGuard(QObject* parent = nullptr);
  ~WindowMapGuard() override;

  bool eventFilter(QObject* watched, QEvent* event) override;
  bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;

 private:
  void RepeatRequests();

  std::map<unsigned, QPointer<QWidget>> waiting_;  // shown, not yet reported mapped
  QTimer repeat_;
  int repeats_left_ = 0;
};

}  // namespace qrv
