#pragma once

#include <atomic>
#include <cstdint>

namespace qrv {

// The flags that tie a sent frame to its answer and a timed run to the dispatcher, changed
// only through the verbs below, each named after what happened. All but ReaderRunning
// belong to the GUI thread; the reader thread only watches ReaderRunning, which the link
// owns.
class LinkState {
 public:
  // A frame went out and no line has come back since.
  std::int32_t AnswerPending() const { return answer_pending_; }
  // Watchdog ticks counted while an answer is pending.
  std::int32_t UnansweredTicks() const { return unanswered_ticks_; }
  // A timed run is under way: the watchdog does not count.
  std::int32_t BatchRunning() const { return batch_running_; }
  // Step of the running timed run, 0 when none runs.
  std::int32_t BatchStep() const { return batch_step_; }
  // The line received last was an error answer.
  std::int32_t ErrorReceived() const { return error_received_; }
  std::int32_t ReaderRunning() const { return reader_running_.load(); }

  // The transmit path took a frame.
  void FrameSent() { answer_pending_ = 1; }
  // A line came back, whatever it says: it answers the last frame sent.
  void LineReceived() {
    unanswered_ticks_ = 0;
    answer_pending_ = 0;
    error_received_ = 0;
  }
  // The line just received was an error answer.
  void ErrorAnswerReceived() { error_received_ = 1; }
  // The watchdog's tick while an answer is pending; the ticks counted before this one.
  int UnansweredTick() { return unanswered_ticks_++; }
  // The watchdog reported the missing answer: nothing is pending any more.
  void AnswerGivenUp() {
    answer_pending_ = 0;
    unanswered_ticks_ = 0;
  }
  // A run paced by the answers goes on without the answer of its last step.
  void AnswerNotAwaited() { answer_pending_ = 0; }

  // A timed run starts; its first step is 1.
  void RunBegun() {
    batch_running_ = 1;
    batch_step_ = 1;
  }
  // The run's next step.
  void RunStepped(int next_step) { batch_step_ = next_step; }
  // The run is over: finished, stopped or its dialog closed.
  void RunEnded() {
    batch_running_ = 0;
    answer_pending_ = 0;
    batch_step_ = 0;
  }
  // An error answer has been acted on (a run stopped on it, a dialog closed).
  void ErrorHandled() { error_received_ = 0; }

  // The reader thread runs while this holds.
  void ReaderStarted() { reader_running_ = 1; }
  void ReaderStopped() { reader_running_ = 0; }

 private:
  std::int32_t answer_pending_ = 0;
  std::int32_t unanswered_ticks_ = 0;
  std::int32_t batch_running_ = 0;
  std::int32_t batch_step_ = 0;
  std::int32_t error_received_ = 0;
  std::atomic<std::int32_t> reader_running_{0};
};

}  // namespace qrv
