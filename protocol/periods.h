#pragma once

#include <chrono>

namespace qrv {

// The board's pace: how often a run sends and how long an answer may take.
// A setting run, the whole send and the page send: one frame every period.
constexpr std::chrono::milliseconds kSendPeriod{500};
// The maintenance read: one request every period.
constexpr std::chrono::milliseconds kReadPeriod{300};
// The answer watchdog ticks every period; an answer still pending at the tick after
// kUnansweredTicksLimit counted ones is lost: "No Connect" at the seventh.
constexpr std::chrono::milliseconds kWatchdogPeriod{500};
constexpr int kUnansweredTicksLimit = 6;
// How long a frame may wait for its answer, about 3.5 s.
constexpr std::chrono::milliseconds kAnswerTimeout = kWatchdogPeriod * (kUnansweredTicksLimit + 1);

}  // namespace qrv
