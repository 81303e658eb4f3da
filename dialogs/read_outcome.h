#pragma once

#include <QObject>
#include <QTimer>

#include "dispatch_notifier.h"
#include "reporter.h"

namespace qrv {

// The end of a read from the board, said once its last answers are in: "読み込み完了" when
// the board answered every request, or how many went unanswered once an answer's time-out
// has passed without them. It lives on after the read's dialog has closed, then goes.
class ReadOutcome : public QObject {
  Q_OBJECT

 public:
  // answered of requests are in so far.
  ReadOutcome(const DispatchNotifier* dispatched, Reporter& reporter, int requests, int answered,
              QObject* parent);

 private:
  void Answered();
  void Report();

  Reporter& reporter_;
  int requests_;
  int answered_;
  QTimer deadline_;
};

}  // namespace qrv
