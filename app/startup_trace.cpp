#include "startup_trace.h"

#include <QCoreApplication>
#include <QEvent>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace qrv {
namespace {

class FirstPaint : public QObject {
 public:
  FirstPaint(QObject* parent, long long launched_ns) : QObject(parent), launched_ns_(launched_ns) {}

  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                           std::chrono::system_clock::now().time_since_epoch())
                           .count();
      std::fprintf(stderr, "startup: first paint %.1f ms after launch\n",
                   static_cast<double>(now - launched_ns_) / 1e6);
      QCoreApplication::instance()->removeEventFilter(this);
      deleteLater();
    }
    return false;
  }

 private:
  long long launched_ns_;
};

}  // namespace

void TraceFirstPaint() {
  const char* launched = std::getenv("QRV470KSE_STARTUP_TRACE");
  QCoreApplication* app = QCoreApplication::instance();
  if (launched == nullptr || *launched == '\0' || app == nullptr) return;
  // Watching the whole program: the window may be painted while the start is still going on.
  app->installEventFilter(new FirstPaint(app, std::atoll(launched)));
}

}  // namespace qrv
