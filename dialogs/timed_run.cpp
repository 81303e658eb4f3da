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
      timer_(this) {
  setObjectName(QStringLiteral("timedRun"));
  timer_.setInterval(plan_.period_ms);
  // A coarse timer may fire up to 5 % early or late; the board is paced one frame a period.
  timer_.setTimerType(Qt::PreciseTimer);
  timer_.setProperty("timerId", plan_.timer_id);
  connect(&timer_, &QTimer::timeout, this, &TimedRun::Tick);
  bar_->setRange(0, plan_.steps);
  bar_->setValue(0);
}

void TimedRun::Start() {
  if (link_.BatchStep != 0) return;
  link_.BatchRunning = 1;
  link_.BatchStep = 1;
  timer_.start();
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
  step_(step);
  if (!last) return;
  Stop();
  if (counter_ != nullptr) counter_->setText(QStringLiteral("  "));
  bar_->setValue(0);
  emit finished();
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
  link_.BatchRunning = 0;
  link_.AnswerPending = 0;
  link_.BatchStep = 0;
}

}  // namespace qrv
