#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

#include "dispatch_notifier.h"
#include "link_state.h"
#include "periods.h"
#include "run_pacing.h"

class QLineEdit;
class QProgressBar;

namespace qrv {

// The timer, period and length of one dialog's run.
struct RunPlan {
  int timer_id;
  std::chrono::milliseconds period;
  int steps;
};

// A dialog's timed run: one step per timer tick, one frame at most per step. At the fixed
// pace the ticks come one a period, never waiting for an answer; answer-paced, the next tick
// comes once the step's answer has been dispatched, at once after a step that sent nothing,
// and at the period's end at the latest. BatchStep holds the step the next tick performs
// (0: no run); an error answer stops the run at the next tick.
class TimedRun : public QObject {
  Q_OBJECT

 public:
  using Step = std::function<void(int step)>;

  // counter may be null: not every dialog shows the step number; dispatched may be null
  // where nothing is received.
  TimedRun(LinkState& link, const DispatchNotifier* dispatched, RunPlan plan, QProgressBar* bar,
           QLineEdit* counter, Step step, QObject* parent);

  // The start button. Refused while any run is under way; the first step comes one period
  // later.
  void Start();
  // The pace of the runs started from now on.
  void SetPace(Pace pace) { pace_ = pace; }
  // The length of the runs started from now on, for a run whose length depends on what it
  // sends.
  void SetSteps(int steps);
  // One timer tick; public so tests can drive a run step by step.
  void Tick();
  // Ends the run as closing the dialog does. keep_error leaves ErrorReceived as it is.
  void End(bool keep_error = false);

  bool running() const { return timer_.isActive(); }
  const RunPlan& plan() const { return plan_; }

 signals:
  // The last step has been performed.
  void finished();

 private:
  void Stop();
  void StepBar();
  // Answer-paced: when the step just performed makes the next one due.
  void AwaitAnswer();
  // A line was dispatched: answer-paced, the step it answers makes the next one due.
  void LineDispatched();

  LinkState& link_;
  RunPlan plan_;
  QProgressBar* bar_;
  QLineEdit* counter_;
  Step step_;
  QTimer timer_;
  bool awaiting_answer_ = false;
  Pace pace_ = Pace::kFixed;
  Pace run_pace_ = Pace::kFixed;  // the pace of the run under way
};

}  // namespace qrv
