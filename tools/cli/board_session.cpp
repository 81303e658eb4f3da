#include "board_session.h"

#include <thread>

#include "messages.h"
#include "response_dispatcher.h"
#include "run_steps.h"
#include "traffic_log.h"
#include "visible_text.h"

namespace qrv {
namespace {

using Clock = std::chrono::steady_clock;

// Keeps the meaning of the last error answer for the transfer's message.
class AnswerReporter : public Reporter {
 public:
  void ErrorBox(std::string_view text) override { error.assign(text); }
  void WarningBox(std::string_view text) override { error.assign(text); }
  void SetCompleteBox() override {}
  void ReadCompleteBox() override {}
  std::string error;
};

std::chrono::milliseconds Until(Clock::time_point when) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(when - Clock::now());
  return std::max(left, std::chrono::milliseconds(0));
}

std::string Trimmed(const std::string& line) {
  std::string shown = line;
  while (!shown.empty() && (shown.back() == '\n' || shown.back() == '\r')) shown.pop_back();
  return VisibleText(shown);
}

}  // namespace

BoardSession::BoardSession(std::string device, SessionTiming timing, TrafficLog* log)
    : device_(std::move(device)),
      timing_(timing),
      serial_(link_, [this](std::string line) { lines_.Push(std::move(line)); }) {
  serial_.SetTrafficLog(log);
}

BoardSession::~BoardSession() {
  serial_.Stop();
}

bool BoardSession::Open(std::string* why) {
  const PortOpenResult result = serial_.OpenPort(device_);
  if (result.status != PortStatus::kOpened) {
    *why = PortErrorText(device_, result);
    // The progress line already names the device.
    if (why->rfind(device_ + ": ", 0) == 0) why->erase(0, device_.size() + 2);
    return false;
  }
  if (serial_.Start()) return true;
  *why = msg::kReadThread;
  return false;
}

TransferResult BoardSession::Send(const DisplayConfig& config, const Progress& progress) {
  DisplayConfig answers;
  return Run(
      kAllItemsSteps, timing_.send_period,
      [&](int step) { return AllItemsStep(config, step).frame; }, answers, true, progress);
}

TransferResult BoardSession::Read(DisplayConfig& config, const Progress& progress) {
  config.reset_to_defaults();
  return Run(kMaintenanceReadSteps, timing_.read_period, MaintenanceReadStep, config, false,
             progress);
}

TransferResult BoardSession::Run(int steps, std::chrono::milliseconds period,
                                 const StepFrame& frame_of, DisplayConfig& answers, bool expect_go,
                                 const Progress& progress) {
  AnswerReporter reporter;
  ResponseDispatcher dispatcher(answers, link_, reporter);
  TransferResult r;
  const Clock::time_point start = Clock::now();
  // The step before the first sent nothing.
  Clock::time_point begun = start;
  bool sent = false, answered = false;
  for (int step = 1; step <= steps && r.ok(); ++step) {
    // Counted from when the step was due, so that a fixed run keeps to its schedule.
    begun = std::max(begun + NextStepDue(timing_.pace, period, sent, answered), Clock::now());
    std::this_thread::sleep_until(begun);
    const std::optional<Frame> frame = frame_of(step);
    sent = frame.has_value();
    answered = false;
    if (frame) {
      // A line that came after its frame was answered belongs to nothing we sent.
      while (lines_.Pop(std::chrono::milliseconds(0))) {
      }
      // Keeps a "GO" from counting as the end of a single send.
      link_.BatchStep = step;
      serial_.SendFrame(*frame);
      ++r.frames;
      const std::optional<std::string> line =
          lines_.Pop(Until(begun + NextStepDue(timing_.pace, period, true, false)));
      const std::string which = "frame " + std::to_string(r.frames);
      if (!line) {
        r.failure = which + ": no answer within " + std::to_string(period.count()) + " ms" +
                    (serial_.port_open() ? "" : "; the connection was lost");
        break;
      }
      answered = true;
      reporter.error.clear();
      dispatcher.Dispatch(*line);
      if (link_.ErrorReceived != 0) {
        r.failure = which + ": " + reporter.error + " (the board answered " + Trimmed(*line) + ")";
      } else if (expect_go && *line != "GO\r\n") {
        r.failure = which + ": the board answered \"" + Trimmed(*line) + "\" instead of GO";
      } else if (!IsBoardAnswer(*line)) {
        r.failure = which + ": the board answered \"" + Trimmed(*line) + "\", which is no answer";
      } else {
        ++r.answered;
      }
    }
    if (r.ok() && progress) progress(step);
  }
  link_.BatchStep = 0;
  r.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return r;
}

}  // namespace qrv
