#pragma once

#include <chrono>

namespace qrv {

enum class Pace {
  kFixed,   // one step per period, as the program's own timed runs go
  kAnswer,  // the next frame as soon as the last one is answered, within one period
};

// How long after a step began the next one is due. Before the first step stands one that
// sent nothing. An answer-paced run goes on once the board has answered, or at once after a
// step that sent nothing, and waits one period at most for a late answer.
constexpr std::chrono::milliseconds NextStepDue(Pace pace, std::chrono::milliseconds period,
                                                bool sent, bool answered) {
  if (pace == Pace::kFixed) return period;
  return sent && !answered ? period : std::chrono::milliseconds(0);
}

}  // namespace qrv
