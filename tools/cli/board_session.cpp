#include "board_session.h"

#include <deque>

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

std::string Trimmed(const std::string& line) {
  std::string shown = line;
  while (!shown.empty() && (shown.back() == '\n' || shown.back() == '\r')) shown.pop_back();
  return VisibleText(shown);
}

}  // namespace

BoardSession::BoardSession(std::string device, SessionTiming timing, TrafficLog* log)
    : device_(std::move(device)),
      timing_(timing),
      serial_(link_, [this](std::string line) { lines_.push_back(std::move(line)); }) {
  serial_.SetTrafficLog(log);
  // Answers in flight come back to back: a read may end inside the next one.
  serial_.HandOnEachLine();
}

BoardSession::~BoardSession() {
  serial_.Stop();
}

bool BoardSession::Open(ReasonText* why) {
  const PortOpenResult result = serial_.OpenPort(device_);
  if (result.status != PortStatus::kOpened) {
    // The progress line already names the device.
    *why = PortProblem(result);
    // The program's window holds its port exclusively while it runs.
    if (result.error == PortError::kBusy)
      *why = Explain("{1}; is the QRV-470KSE window open on it?", {*why});
    return false;
  }
  return true;
}

std::optional<std::string> BoardSession::NextLine(Clock::time_point until) {
  if (lines_.empty()) serial_.ServeUntil(until);
  if (lines_.empty()) return std::nullopt;
  std::string line = std::move(lines_.front());
  lines_.pop_front();
  return line;
}

TransferResult BoardSession::Send(const SendPlan& plan, const Progress& progress) {
  DisplayConfig answers;
  return Run(
      static_cast<int>(plan.size()), timing_.send_period,
      [&](int step) { return plan[static_cast<std::size_t>(step - 1)].frame; }, answers, true,
      progress);
}

TransferResult BoardSession::Read(DisplayConfig& config, const Progress& progress) {
  config.reset_to_defaults();
  return Run(kMaintenanceReadSteps, timing_.read_period, MaintenanceReadStep, config, false,
             progress);
}

// A transfer under way: the frames on the line not yet answered, oldest first, each with
// the time its answer is due by.
class BoardSession::PacedRun {
 public:
  PacedRun(BoardSession& session, DisplayConfig& answers, bool expect_go, const Progress& progress)
      : session_(session),
        dispatcher_(answers, session.link_, reporter_),
        expect_go_(expect_go),
        progress_(progress) {}

  // Whether every frame sent has been answered.
  bool settled() const { return unanswered_.empty(); }

  // Puts step's frame, if it has one, on the line.
  void Perform(int step, const std::optional<Frame>& frame) {
    performed_ = step;
    if (frame) {
      // Keeps a "GO" from counting as the end of a single send.
      session_.link_.RunStepped(step);
      session_.serial_.SendFrame(*frame);
      ++result.frames;
      unanswered_.push_back({result.frames, step, Clock::now() + session_.timing_.answer_timeout});
    }
    Report();
  }

  // Takes the answers that come until the time given, or until every frame is answered when
  // asked to stop there. False once the transfer failed.
  bool Await(Clock::time_point until, bool until_settled) {
    while (result.ok()) {
      if (until_settled && settled()) return true;
      const Clock::time_point wake =
          settled() ? until : std::min(until, unanswered_.front().answer_due);
      if (const std::optional<std::string> line = session_.NextLine(wake)) {
        Take(*line);
        continue;
      }
      const Clock::time_point now = Clock::now();
      if (!settled() && now >= unanswered_.front().answer_due) {
        const std::string frame = std::to_string(unanswered_.front().frame);
        const std::string ms = std::to_string(session_.timing_.answer_timeout.count());
        result.failure =
            session_.serial_.port_open()
                ? Explain("frame {1}: no answer within {2} ms", {frame, ms})
                : Explain("frame {1}: no answer within {2} ms; the connection was lost",
                          {frame, ms});
      } else if (now >= until) {
        return true;
      }
    }
    return false;
  }

  TransferResult result;

 private:
  struct Unanswered {
    int frame;
    int step;
    Clock::time_point answer_due;
  };

  // The board answers every line in order: this answer is the oldest frame's.
  void Take(const std::string& answer) {
    // A line when nothing is awaited belongs to nothing we sent.
    if (settled()) return;
    const Unanswered oldest = unanswered_.front();
    unanswered_.pop_front();
    reporter_.error.clear();
    dispatcher_.Dispatch(answer);
    const std::string frame = std::to_string(oldest.frame);
    if (session_.link_.ErrorReceived() != 0) {
      // The error's name is the board's own ("Parity Error"), the same in every language.
      result.failure = Explain("frame {1}: {2} (the board answered {3})",
                               {frame, reporter_.error, Trimmed(answer)});
    } else if (expect_go_ && answer != "GO\r\n") {
      result.failure =
          Explain("frame {1}: the board answered \"{2}\" instead of GO", {frame, Trimmed(answer)});
    } else if (!IsBoardAnswer(answer)) {
      result.failure = Explain("frame {1}: the board answered \"{2}\", which is no answer",
                               {frame, Trimmed(answer)});
    } else {
      ++result.answered;
      Report();
    }
  }

  // A step is done once its frame and every one before it are answered.
  void Report() {
    const int done = settled() ? performed_ : unanswered_.front().step - 1;
    while (result.ok() && reported_ < done) {
      ++reported_;
      if (progress_) progress_(reported_);
    }
  }

  BoardSession& session_;
  AnswerReporter reporter_;
  ResponseDispatcher dispatcher_;
  const bool expect_go_;
  const Progress& progress_;
  std::deque<Unanswered> unanswered_;
  int performed_ = 0, reported_ = 0;
};

TransferResult BoardSession::Run(int steps, std::chrono::milliseconds period,
                                 const StepFrame& frame_of, DisplayConfig& answers, bool expect_go,
                                 const Progress& progress) {
  PacedRun run(*this, answers, expect_go, progress);
  const Clock::time_point start = Clock::now();
  // The step before the first sent nothing.
  Clock::time_point begun = start;
  bool sent = false;
  for (int step = 1; step <= steps; ++step) {
    // An answer-paced run goes on as soon as the last frame is answered.
    if (timing_.pace == Pace::kAnswer && sent && !run.Await(begun + period, true)) break;
    // Counted from when the step was due, so that a fixed run keeps to its schedule.
    const Clock::time_point due =
        std::max(begun + NextStepDue(timing_.pace, period, sent, run.settled()), Clock::now());
    if (!run.Await(due, false)) break;
    begun = due;
    const std::optional<Frame> frame = frame_of(step);
    sent = frame.has_value();
    run.Perform(step, frame);
  }
  // The answers still on their way.
  if (run.result.ok()) run.Await(Clock::time_point::max(), true);
  link_.RunEnded();
  run.result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return run.result;
}

}  // namespace qrv
