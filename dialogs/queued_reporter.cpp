#include "queued_reporter.h"

#include <QCoreApplication>
#include <string>

namespace qrv {
namespace {

// The application outlives every dialog, so a box queued by a dialog that closes at once
// is still shown.
template <typename Show>
void Later(Show show) {
  QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(show), Qt::QueuedConnection);
}

}  // namespace

void QueuedReporter::ErrorBox(std::string_view text) {
  Later([&target = target_, text = std::string(text)] { target.ErrorBox(text); });
}

void QueuedReporter::WarningBox(std::string_view text) {
  Later([&target = target_, text = std::string(text)] { target.WarningBox(text); });
}

void QueuedReporter::SetCompleteBox() {
  Later([&target = target_] { target.SetCompleteBox(); });
}

void QueuedReporter::ReadCompleteBox() {
  Later([&target = target_] { target.ReadCompleteBox(); });
}

}  // namespace qrv
