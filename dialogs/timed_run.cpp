#include "timed_run.h"

#include <QLineEdit>
#include <QProgressBar>

namespace qrv {

TimedRun::TimedRun(LinkState& link, RunPlan plan, QProgressBar* bar, QLineEdit* counter, Step step,
                   QObject* parent)
    : QObject(parent),
      link_(link),
      plan_(plan),
      bar_(bar),
      counter_(counter),
      step_(std::move(step)),
      timer_(this),
      answer_poll_(this) {
  setObjectName(QStringLiteral("timedRun"));
  timer_.setInterval(plan_.period_ms);
  // A coarse timer may fire up to 5 % early or late; the board is paced one frame a period.
  timer_.setTimerType(Qt::PreciseTimer);
  timer_.setProperty("timerId", plan_.timer_id);
  connect(&timer_, &QTimer::timeout, this, &TimedRun::Tick);
  // The dispatcher clears AnswerPending on the GUI thread; looking each millisecond costs
  // little and needs no tie to whoever dispatches.
  answer_poll_.setObjectName(QStringLiteral("answerPoll"));
  answer_poll_.setInterval(1);
  answer_poll_.setTimerType(Qt::PreciseTimer);
  connect(&answer_poll_, &QTimer::timeout, this, &TimedRun::CheckAnswer);
  bar_->setRange(0, plan_.steps);
  bar_->setValue(0);
}

void TimedRun::Start() {
  if (link_.BatchStep != 0) return;
  link_.BatchRunning = 1;
  link_.BatchStep = 1;
  run_pace_ = pace_;
  timer_.start(NextStepDue(run_pace_, std::chrono::milliseconds(plan_.period_ms), false, false));
}

void TimedRun::Tick() {
  // A tick that comes after the run ended (a queued one, or a test's) does nothing.
  if (!timer_.isActive() || link_.BatchStep == 0) return;
  if (link_.ErrorReceived != 0) {
    // The bar and the counter keep showing how far the run got.
    link_.ErrorReceived = 0;
    Stop();
    return;
  }
  const int step = link_.BatchStep;
  const bool last = step >= plan_.steps;
  // The run's state moves on before the step is performed, so that a step that opens a
  // modal box, should ticks arrive while it is open, can be neither repeated nor skipped.
  // The last step stops the timer first, so nothing follows it.
  if (last) {
    timer_.stop();
  } else {
    link_.BatchStep = step + 1;
  }
  if (counter_ != nullptr) counter_->setText(QString::number(step));
  StepBar();
  // An answer that did not come within its period is given up: only this step's frame
  // sets the flag again.
  if (run_pace_ == Pace::kAnswer) link_.AnswerPending = 0;
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
  const bool sent = link_.AnswerPending != 0;
  timer_.start(NextStepDue(run_pace_, std::chrono::milliseconds(plan_.period_ms), sent, false));
  if (sent) answer_poll_.start();
}

void TimedRun::CheckAnswer() {
  if (link_.AnswerPending != 0 && link_.ErrorReceived == 0) return;
  answer_poll_.stop();
  if (timer_.isActive()) {
    timer_.start(NextStepDue(run_pace_, std::chrono::milliseconds(plan_.period_ms), true, true));
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
  if (!keep_error) link_.ErrorReceived = 0;
  Stop();
}

void TimedRun::Stop() {
  timer_.stop();
  answer_poll_.stop();
  link_.BatchRunning = 0;
  link_.AnswerPending = 0;
  link_.BatchStep = 0;
}

}  // namespace qrv
