#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "periods.h"

#include "display_config.h"
#include "frames.h"
#include "link_state.h"
#include "reason_text.h"
#include "run_pacing.h"
#include "send_plan.h"
#include "serial_link.h"

namespace qrv {

class TrafficLog;

// How long a frame may wait for its answer: the GUI's seven watchdog ticks.
constexpr std::chrono::milliseconds kDefaultAnswerTimeout = kAnswerTimeout;

struct SessionTiming {
  Pace pace = Pace::kFixed;
  std::chrono::milliseconds send_period = kSendPeriod;  // sending the whole configuration
  std::chrono::milliseconds read_period = kReadPeriod;  // reading it back
  std::chrono::milliseconds answer_timeout = kDefaultAnswerTimeout;
};

// How one board's transfer went.
struct TransferResult {
  int frames = 0;      // frames put on the line
  int answered = 0;    // of them, answered as expected
  ReasonText failure;  // why the transfer stopped, one line; empty when it went through
  double seconds = 0;
  bool ok() const { return failure.english.empty(); }
};

// One board on one port: sends frames of a configuration or reads it back at its pace, with
// answers still on their way while later frames go out. The board answers every line in
// order, so each answer belongs to the oldest frame not yet answered. The first error
// answer, or a frame left unanswered past the answer time-out, ends the transfer.
class BoardSession {
 public:
  // Called after each step with its number, counting from 1.
  using Progress = std::function<void(int step)>;

  BoardSession(std::string device, SessionTiming timing, TrafficLog* log);
  ~BoardSession();
  BoardSession(const BoardSession&) = delete;
  BoardSession& operator=(const BoardSession&) = delete;

  // Opens the port and starts reading; false with a one-line reason.
  bool Open(ReasonText* why);

  // The steps of a send in turn; a page that cannot be sent is passed over.
  TransferResult Send(const SendPlan& plan, const Progress& progress);
  // The requests of the maintenance read, into a configuration reset first.
  TransferResult Read(DisplayConfig& config, const Progress& progress);

  const std::string& device() const { return device_; }

 private:
  using StepFrame = std::function<std::optional<Frame>(int step)>;
  class PacedRun;
  TransferResult Run(int steps, std::chrono::milliseconds period, const StepFrame& frame_of,
                     DisplayConfig& answers, bool expect_go, const Progress& progress);

  // The next answer line, serving the port on this thread until one comes or until.
  std::optional<std::string> NextLine(std::chrono::steady_clock::time_point until);

  std::string device_;
  SessionTiming timing_;
  LinkState link_;
  std::deque<std::string> lines_;  // answers handed on, not yet taken
  SerialLink serial_;
};

}  // namespace qrv
