#include "transfer_commands.h"

#include <cstdio>
#include <memory>
#include <thread>

#include "board_report.h"
#include "board_session.h"
#include "config_differences.h"
#include "config_files.h"
#include "file_limit.h"
#include "progress_view.h"
#include "run_steps.h"
#include "send_refusals.h"
#include "traffic_log.h"

namespace qrv {
namespace {

struct BoardOutcome {
  bool ok = false;
  std::string failure;  // why it failed, one line; empty when it went through
  int frames = 0;       // put on the line
  double seconds = 0;
  std::vector<std::string> differences;
  bool compared = false;  // read back to the end and compared
};

BoardReportLine ReportLine(const std::string& port, const BoardOutcome& outcome, bool verify) {
  return {port,
          outcome.ok,
          outcome.frames,
          outcome.seconds,
          outcome.failure,
          verify,
          outcome.compared ? static_cast<int>(outcome.differences.size()) : -1};
}

std::string Seconds(double s) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f s", s);
  return text;
}

// Opens the traffic log the options name; false after saying why.
bool OpenLog(const CliOptions& options, TrafficLog& log, CliContext& context) {
  std::string why;
  if (options.log.empty() || log.Open(options.log, &why)) return true;
  context.err << "qrv470kse-cli: cannot open the traffic log " << options.log << ": " << why
              << "\n";
  return false;
}

SessionTiming Timing(const CliOptions& options, const CliContext& context) {
  return {options.pace, context.send_period, context.read_period,
          std::chrono::milliseconds(options.answer_timeout_ms)};
}

// One board's whole part: send and/or read back, reporting on its own progress line.
BoardOutcome ServeBoard(const CliOptions& options, const DisplayConfig& file, const SendPlan& plan,
                        const CliContext& context, TrafficLog* log, ProgressView& view,
                        std::size_t index) {
  BoardOutcome outcome;
  BoardSession session(options.ports[index], Timing(options, context), log);
  std::string why;
  // Whatever way it ends, the view and the outcome say the same.
  const auto failed = [&](const std::string& text, const std::string& why) {
    outcome.failure = why;
    view.Finish(index, text, true);
    return outcome;
  };
  if (!session.Open(&why)) return failed("FAILED: " + why, why);
  const bool send = !plan.empty();
  const bool read = options.command == CliCommand::kVerify || options.verify;
  std::string summary;
  if (send) {
    const TransferResult r = session.Send(plan, [&](int step) { view.Step(index, step); });
    outcome.frames += r.frames;
    outcome.seconds += r.seconds;
    if (!r.ok()) return failed("FAILED: " + r.failure, r.failure);
    summary = "sent " + std::to_string(r.frames) + (r.frames == 1 ? " frame" : " frames") + " in " +
              Seconds(r.seconds) + (r.frames == 1 ? ", answered GO" : ", every one answered GO");
  }
  if (read) {
    DisplayConfig board;
    const int offset = static_cast<int>(plan.size());
    const TransferResult r =
        session.Read(board, [&](int step) { view.Step(index, offset + step); });
    outcome.frames += r.frames;
    outcome.seconds += r.seconds;
    if (!r.ok()) {
      return failed((summary.empty() ? "" : summary + "; ") + "read back FAILED: " + r.failure,
                    "read back: " + r.failure);
    }
    outcome.differences = ConfigDifferences(file, board);
    outcome.compared = true;
    const std::size_t n = outcome.differences.size();
    summary += (summary.empty() ? "" : "; ") + std::string("read back in ") + Seconds(r.seconds) +
               ": " +
               (n == 0 ? std::string("matches the file")
                       : std::to_string(n) + (n == 1 ? " difference" : " differences"));
  }
  outcome.ok = outcome.differences.empty();
  if (!outcome.ok) outcome.failure = std::to_string(outcome.differences.size()) + " differences";
  view.Finish(index, summary, !outcome.ok);
  return outcome;
}

// "1000 boards: 997 done, 3 failed (tcp://10.0.0.4:4003 frame 5: no answer within 3500 ms,
// ...)": the few first failures named, for a person or a log to see at once.
std::string FleetSummary(const std::vector<std::string>& ports,
                         const std::vector<BoardOutcome>& outcomes) {
  constexpr int kNamed = 3;
  std::string named;
  int failed = 0;
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    if (outcomes[i].ok) continue;
    if (failed++ < kNamed)
      named += (named.empty() ? "" : ", ") + ports[i] + " " + outcomes[i].failure;
  }
  std::string line =
      std::to_string(outcomes.size()) +
      " boards: " + std::to_string(outcomes.size() - static_cast<std::size_t>(failed)) + " done, " +
      std::to_string(failed) + " failed";
  if (failed > 0) line += " (" + named + (failed > kNamed ? ", ...)" : ")");
  return line;
}

}  // namespace

int RunBoardTransfers(const CliOptions& options, const DisplayConfig& file, const SendPlan& plan,
                      CliContext& context) {
  std::string why;
  // A fleet the process could not hold would fail board by board half-way; refuse it whole.
  if (!FitOpenFiles(options.ports.size(), &why)) {
    context.err << "qrv470kse-cli: " << why << "\n";
    return 1;
  }
  TrafficLog log;
  if (!OpenLog(options, log, context)) return 1;
  BoardReport report;
  if (!report.Open(options.report, &why)) {
    context.err << "qrv470kse-cli: " << why << "\n";
    return 1;
  }
  const std::vector<std::string> refusals = SendRefusals(file, plan);
  for (const std::string& line : refusals) context.err << "warning: not sent: " << line << "\n";
  const bool read = options.command == CliCommand::kVerify || options.verify;
  const int steps = static_cast<int>(plan.size()) + (read ? kMaintenanceReadSteps : 0);
  ProgressView view(context.out, context.terminal, options.ports, steps, context.rows);

  std::vector<BoardOutcome> outcomes(options.ports.size());
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < options.ports.size(); ++i) {
    threads.emplace_back([&, i] {
      outcomes[i] =
          ServeBoard(options, file, plan, context, options.log.empty() ? nullptr : &log, view, i);
      report.Write(ReportLine(options.ports[i], outcomes[i], read));
    });
  }
  for (std::thread& t : threads) t.join();
  view.Summarise();

  int failed = 0;
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    if (!outcomes[i].ok) ++failed;
    if (outcomes[i].differences.empty()) continue;
    context.out << options.ports[i] << " differs from " << options.file << ":\n";
    for (const std::string& line : outcomes[i].differences) context.out << "  " << line << "\n";
  }
  const std::size_t boards = outcomes.size();
  // The line scripts have read last stays last.
  if (boards > 1) context.out << FleetSummary(options.ports, outcomes) << "\n";
  context.out << (boards - failed) << " of " << boards << (boards == 1 ? " board" : " boards")
              << (read ? " matched the file" : " answered every frame") << "\n";
  if (!refusals.empty()) {
    context.err << refusals.size() << (refusals.size() == 1 ? " page" : " pages") << " of "
                << options.file << " could not be sent (listed above)\n";
  }
  return failed == 0 && refusals.empty() ? 0 : 1;
}

int RunRead(const CliOptions& options, CliContext& context) {
  std::string why;
  // Found out now rather than after the whole read.
  if (!CheckConfigTarget(options.output, &why)) {
    context.err << "qrv470kse-cli: " << why << "\n";
    return 1;
  }
  TrafficLog log;
  if (!OpenLog(options, log, context)) return 1;
  BoardReport report;
  if (!report.Open(options.report, &why)) {
    context.err << "qrv470kse-cli: " << why << "\n";
    return 1;
  }
  ProgressView view(context.out, context.terminal, options.ports, kMaintenanceReadSteps);
  BoardSession session(options.ports[0], Timing(options, context),
                       options.log.empty() ? nullptr : &log);
  // The view's last word, and the report's line, whatever way the read ends.
  BoardReportLine line;
  line.port = options.ports[0];
  const auto end = [&](const std::string& text, const std::string& failure) {
    line.ok = failure.empty();
    line.error = failure;
    report.Write(line);
    view.Finish(0, text, !line.ok);
    return line.ok ? 0 : 1;
  };
  if (!session.Open(&why)) return end("FAILED: " + why, why);
  DisplayConfig board;
  const TransferResult r = session.Read(board, [&](int step) { view.Step(0, step); });
  line.frames = r.frames;
  line.seconds = r.seconds;
  if (!r.ok())
    return end("FAILED: " + r.failure + "; " + options.output + " left as it was", r.failure);
  if (!SaveConfigFile(options.output, board, &why)) return end("read, but " + why, why);
  return end("read " + std::to_string(r.answered) + " answers in " + Seconds(r.seconds) +
                 ", wrote " + options.output,
             {});
}

}  // namespace qrv
