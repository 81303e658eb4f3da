#pragma once

#include <atomic>
#include <cstdint>

namespace qrv {

// The flags that tie a sent frame to its answer and a timed run to the dispatcher, changed
// only through the verbs below, each named after what happened. All but ReaderRunning
// belong to the GUI thread; the reader thread only watches ReaderRunning, which the link
// owns.
struct LinkState {
  std::int32_t AnswerPending = 0;    // a frame went out and no line has come back since
  std::int32_t UnansweredTicks = 0;  // watchdog ticks counted while an answer is pending
  std::int32_t BatchRunning = 0;     // a timed run is under way: the watchdog does not count
  std::int32_t BatchStep = 0;        // step of the running timed run, 0 when none runs
  std::int32_t ErrorReceived = 0;    // the line received last was an error answer
  std::atomic<std::int32_t> ReaderRunning{0};

  // The transmit path took a frame.
  void FrameSent() { AnswerPending = 1; }
  // A line came back, whatever it says: it answers the last frame sent.
  void LineReceived() {
    UnansweredTicks = 0;
    AnswerPending = 0;
    ErrorReceived = 0;
  }
  // The line just received was an error answer.
  void ErrorAnswerReceived() { ErrorReceived = 1; }
  // The watchdog's tick while an answer is pending; the ticks counted before this one.
  int UnansweredTick() { return UnansweredTicks++; }
  // The watchdog reported the missing answer: nothing is pending any more.
  void AnswerGivenUp() {
    AnswerPending = 0;
    UnansweredTicks = 0;
  }
  // A run paced by the answers goes on without the answer of its last step.
  void AnswerNotAwaited() { AnswerPending = 0; }

  // A timed run starts; its first step is 1.
  void RunBegun() {
    BatchRunning = 1;
    BatchStep = 1;
  }
  // The run's next step.
  void RunStepped(int next_step) { BatchStep = next_step; }
  // The run is over: finished, stopped or its dialog closed.
  void RunEnded() {
    BatchRunning = 0;
    AnswerPending = 0;
    BatchStep = 0;
  }
  // An error answer has been acted on (a run stopped on it, a dialog closed).
  void ErrorHandled() { ErrorReceived = 0; }

  // The reader thread runs while this holds.
  void ReaderStarted() { ReaderRunning = 1; }
  void ReaderStopped() { ReaderRunning = 0; }
};

}  // namespace qrv
