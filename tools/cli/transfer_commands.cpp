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
#include "text_format.h"
#include "traffic_log.h"
#include "translation.h"

namespace qrv {
namespace {

struct BoardOutcome {
  bool ok = false;
  ReasonText failure;  // why it failed, one line; empty when it went through
  int frames = 0;      // put on the line
  double seconds = 0;
  std::vector<std::string> differences;
  bool compared = false;  // read back to the end and compared
};

BoardReportLine ReportLine(const std::string& port, const BoardOutcome& outcome, bool verify) {
  return {port,
          outcome.ok,
          outcome.frames,
          outcome.seconds,
          outcome.failure.english,
          verify,
          outcome.compared ? static_cast<int>(outcome.differences.size()) : -1};
}

std::string Seconds(double s) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", s);
  return Format(Tr("{1} s"), {text});
}

// Opens the traffic log the options name; false after saying why.
bool OpenLog(const CliOptions& options, TrafficLog& log, CliContext& context) {
  std::string why;
  if (options.log.empty() || log.Open(options.log, &why)) return true;
  context.err << "qrv470kse-cli: "
              << Format(Tr("cannot open the traffic log {1}: {2}"), {options.log, why}) << "\n";
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
  ReasonText why;
  // Whatever way it ends, the view and the outcome say the same.
  const auto failed = [&](const std::string& text, const ReasonText& why) {
    outcome.failure = why;
    view.Finish(index, text, true);
    return outcome;
  };
  if (!session.Open(&why)) return failed(Format(Tr("FAILED: {1}"), {why.shown}), why);
  const bool send = !plan.empty();
  const bool read = options.command == CliCommand::kVerify || options.verify;
  std::string summary;
  if (send) {
    const TransferResult r = session.Send(plan, [&](int step) { view.Step(index, step); });
    outcome.frames += r.frames;
    outcome.seconds += r.seconds;
    if (!r.ok()) return failed(Format(Tr("FAILED: {1}"), {r.failure.shown}), r.failure);
    summary = Format(
        TrN("sent {1} frame in {2}, answered GO", "sent {1} frames in {2}, every one answered GO",
            static_cast<unsigned long>(r.frames)),
        {std::to_string(r.frames), Seconds(r.seconds)});
  }
  if (read) {
    DisplayConfig board;
    const int offset = static_cast<int>(plan.size());
    const TransferResult r =
        session.Read(board, [&](int step) { view.Step(index, offset + step); });
    outcome.frames += r.frames;
    outcome.seconds += r.seconds;
    if (!r.ok()) {
      const std::string failure = Format(Tr("read back FAILED: {1}"), {r.failure.shown});
      return failed(summary.empty() ? failure : Format(Tr("{1}; {2}"), {summary, failure}),
                    Explain("read back: {1}", {r.failure}));
    }
    outcome.differences = ConfigDifferences(file, board);
    outcome.compared = true;
    const std::size_t n = outcome.differences.size();
    const std::string read_back =
        n == 0 ? Format(Tr("read back in {1}: matches the file"), {Seconds(r.seconds)})
               : Format(TrN("read back in {1}: {2} difference", "read back in {1}: {2} differences",
                            n),
                        {Seconds(r.seconds), std::to_string(n)});
    summary = summary.empty() ? read_back : Format(Tr("{1}; {2}"), {summary, read_back});
  }
  outcome.ok = outcome.differences.empty();
  if (!outcome.ok) {
    const std::string n = std::to_string(outcome.differences.size());
    outcome.failure = Explain("{1} differences", {n});
  }
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
      named += (named.empty() ? "" : ", ") + ports[i] + " " + outcomes[i].failure.shown;
  }
  if (failed > kNamed) named += ", ...";
  const std::string boards = std::to_string(outcomes.size());
  const std::string done = std::to_string(outcomes.size() - static_cast<std::size_t>(failed));
  if (failed == 0) return Format(Tr("{1} boards: {2} done, 0 failed"), {boards, done});
  return Format(Tr("{1} boards: {2} done, {3} failed ({4})"),
                {boards, done, std::to_string(failed), named});
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
  for (const std::string& line : refusals)
    context.err << Format(Tr("warning: not sent: {1}"), {line}) << "\n";
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
    context.out << Format(Tr("{1} differs from {2}:"), {options.ports[i], options.file}) << "\n";
    for (const std::string& line : outcomes[i].differences) context.out << "  " << line << "\n";
  }
  const std::size_t boards = outcomes.size();
  // The line scripts have read last stays last.
  if (boards > 1) context.out << FleetSummary(options.ports, outcomes) << "\n";
  const std::string good = std::to_string(boards - static_cast<std::size_t>(failed));
  context.out << Format(read ? TrN("{1} of {2} board matched the file",
                                   "{1} of {2} boards matched the file", boards)
                             : TrN("{1} of {2} board answered every frame",
                                   "{1} of {2} boards answered every frame", boards),
                        {good, std::to_string(boards)})
              << "\n";
  if (!refusals.empty()) {
    context.err << Format(TrN("{1} page of {2} could not be sent (listed above)",
                              "{1} pages of {2} could not be sent (listed above)", refusals.size()),
                          {std::to_string(refusals.size()), options.file})
                << "\n";
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
  const auto end = [&](const std::string& text, const ReasonText& failure) {
    line.ok = failure.english.empty();
    line.error = failure.english;
    report.Write(line);
    view.Finish(0, text, !line.ok);
    return line.ok ? 0 : 1;
  };
  ReasonText failure;
  if (!session.Open(&failure)) return end(Format(Tr("FAILED: {1}"), {failure.shown}), failure);
  DisplayConfig board;
  const TransferResult r = session.Read(board, [&](int step) { view.Step(0, step); });
  line.frames = r.frames;
  line.seconds = r.seconds;
  if (!r.ok()) {
    return end(Format(Tr("FAILED: {1}; {2} left as it was"), {r.failure.shown, options.output}),
               r.failure);
  }
  // The system's reason comes in the operator's language only: the report names the file.
  if (!SaveConfigFile(options.output, board, &why)) {
    return end(Format(Tr("read, but {1}"), {why}),
               Explain("read, but {1} could not be written", {options.output}));
  }
  return end(Format(Tr("read {1} answers in {2}, wrote {3}"),
                    {std::to_string(r.answered), Seconds(r.seconds), options.output}),
             {});
}

}  // namespace qrv
