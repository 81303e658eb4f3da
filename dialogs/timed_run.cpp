#include "timed_run.h"

#include <QLineEdit>
#include <QProgressBar>

namespace qrv {

TimedRun::TimedRun(LinkState& link, const DispatchNotifier* dispatched, RunPlan plan,
                   QProgressBar* bar, QLineEdit* counter, Step step, QObject* parent)
    : QObject(parent),
      link_(link),
      plan_(plan),
      bar_(bar),
      counter_(counter),
      step_(std::move(step)),
      timer_(this) {
  setObjectName(QStringLiteral("timedRun"));
  timer_.setInterval(plan_.period);
  // A coarse timer may fire up to 5 % early or late; the board is paced one frame a period.
  timer_.setTimerType(Qt::PreciseTimer);
  timer_.setProperty("timerId", plan_.timer_id);
  connect(&timer_, &QTimer::timeout, this, &TimedRun::Tick);
  if (dispatched != nullptr)
    connect(dispatched, &DispatchNotifier::LineDispatched, this, &TimedRun::LineDispatched);
  bar_->setRange(0, plan_.steps);
  bar_->setValue(0);
}

void TimedRun::Start() {
  if (link_.BatchStep() != 0) return;
  link_.RunBegun();
  run_pace_ = pace_;
  timer_.start(NextStepDue(run_pace_, plan_.period, false, false));
}

void TimedRun::SetSteps(int steps) {
  if (timer_.isActive()) return;
  plan_.steps = steps;
  bar_->setRange(0, steps);
}

void TimedRun::Tick() {
  // A tick that comes after the run ended (a queued one, or a test's) does nothing.
  if (!timer_.isActive() || link_.BatchStep() == 0) return;
  if (link_.ErrorReceived() != 0) {
    // The bar and the counter keep showing how far the run got.
    link_.ErrorHandled();
    Stop();
    return;
  }
  const int step = link_.BatchStep();
  const bool last = step >= plan_.steps;
  // The run's state moves on before the step is performed, so that a step that opens a
  // modal box, should ticks arrive while it is open, can be neither repeated nor skipped.
  // The last step stops the timer first, so nothing follows it.
  if (last) {
    timer_.stop();
  } else {
    link_.RunStepped(step + 1);
  }
  if (counter_ != nullptr) counter_->setText(QString::number(step));
  StepBar();
  // An answer that did not come within its period is given up: only this step's frame
  // sets the flag again.
  if (run_pace_ == Pace::kAnswer) link_.AnswerNotAwaited();
  step_(step);
  if (!last) {
    if (run_pace_ == Pace::kAnswer) AwaitAnswer();
    return;
  }
  Stop();
  if (counter_ != nullptr) counter_->setText(QStringLiteral("  "));
  bar_->setValue(0);
  emit finished();
}

void TimedRun::AwaitAnswer() {
  // A modal box a step opened may have let the run end meanwhile.
  if (!timer_.isActive()) return;
  const bool sent = link_.AnswerPending() != 0;
  timer_.start(NextStepDue(run_pace_, plan_.period, sent, false));
  awaiting_answer_ = sent;
}

void TimedRun::LineDispatched() {
  if (!awaiting_answer_ || (link_.AnswerPending() != 0 && link_.ErrorReceived() == 0)) return;
  awaiting_answer_ = false;
  if (timer_.isActive()) {
    timer_.start(NextStepDue(run_pace_, plan_.period, true, true));
  }
}

void TimedRun::StepBar() {
  // Past its end the bar starts over: a run after one stopped by an error steps on from
  // where the bar stood.
  const int next = bar_->value() + 1;
  const int span = bar_->maximum() - bar_->minimum();
  bar_->setValue(next > bar_->maximum() ? bar_->minimum() + (next - bar_->minimum()) % span : next);
}

void TimedRun::End(bool keep_error) {
  if (!keep_error) link_.ErrorHandled();
  Stop();
}

void TimedRun::Stop() {
  timer_.stop();
  awaiting_answer_ = false;
  link_.RunEnded();
}

}  // namespace qrv
