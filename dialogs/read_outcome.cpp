#include "read_outcome.h"

#include <QString>

#include "link_watchdog.h"

namespace qrv {

ReadOutcome::ReadOutcome(const DispatchNotifier* dispatched, Reporter& reporter, int requests,
                         int answered, QObject* parent)
    : QObject(parent), reporter_(reporter), requests_(requests), answered_(answered) {
  deadline_.setSingleShot(true);
  connect(&deadline_, &QTimer::timeout, this, &ReadOutcome::Report);
  if (dispatched != nullptr)
    connect(dispatched, &DispatchNotifier::LineDispatched, this, &ReadOutcome::Answered);
  // Queued, so that the dialog has closed before the box comes.
  deadline_.start(answered_ >= requests_ ? std::chrono::milliseconds(0) : kAnswerTimeout);
}

void ReadOutcome::Answered() {
  if (++answered_ >= requests_ && deadline_.isActive()) deadline_.start(0);
}

void ReadOutcome::Report() {
  disconnect();
  if (answered_ >= requests_) {
    reporter_.ReadCompleteBox();
  } else {
    reporter_.WarningBox(
        QStringLiteral("読み込みを終えましたが、%1件の要求のうち%2件に応答がありませんでした")
            .arg(requests_)
            .arg(requests_ - answered_)
            .toStdString());
  }
  deleteLater();
}

}  // namespace qrv
