#pragma once

#include <atomic>
#include <cstdint>

namespace qrv {

// The flags that tie a sent frame to its answer and a timed run to the dispatcher. All but
// ReaderRunning belong to the GUI thread; the reader thread only watches ReaderRunning.
struct LinkState {
  std::int32_t AnswerPending = 0;    // a frame went out and no line has come back since
  std::int32_t UnansweredTicks = 0;  // watchdog ticks counted while an answer is pending
  std::int32_t BatchRunning = 0;     // a timed run is under way: the watchdog does not count
  std::int32_t BatchStep = 0;        // step of the running timed run, 0 when none runs
  std::int32_t ErrorReceived = 0;    // the line received last was an error answer
  std::atomic<std::int32_t> ReaderRunning{0};
};

}  // namespace qrv
