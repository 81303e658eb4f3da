#include "transfer_commands.h"

#include <cstdio>
#include <memory>
#include <thread>

#include "board_session.h"
#include "config_differences.h"
#include "config_files.h"
#include "progress_view.h"
#include "run_steps.h"
#include "send_refusals.h"
#include "traffic_log.h"

namespace qrv {
namespace {

struct BoardOutcome {
  bool ok = false;
  std::vector<std::string> differences;
};

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
  if (!session.Open(&why)) {
    view.Finish(index, "FAILED: " + why);
    return outcome;
  }
  const bool send = !plan.empty();
  const bool read = options.command == CliCommand::kVerify || options.verify;
  std::string summary;
  if (send) {
    const TransferResult r = session.Send(plan, [&](int step) { view.Step(index, step); });
    if (!r.ok()) {
      view.Finish(index, "FAILED: " + r.failure);
      return outcome;
    }
    summary = "sent " + std::to_string(r.frames) + (r.frames == 1 ? " frame" : " frames") + " in " +
              Seconds(r.seconds) + (r.frames == 1 ? ", answered GO" : ", every one answered GO");
  }
  if (read) {
    DisplayConfig board;
    const int offset = static_cast<int>(plan.size());
    const TransferResult r =
        session.Read(board, [&](int step) { view.Step(index, offset + step); });
    if (!r.ok()) {
      view.Finish(index,
                  (summary.empty() ? "" : summary + "; ") + "read back FAILED: " + r.failure);
      return outcome;
    }
    outcome.differences = ConfigDifferences(file, board);
    const std::size_t n = outcome.differences.size();
    summary += (summary.empty() ? "" : "; ") + std::string("read back in ") + Seconds(r.seconds) +
               ": " +
               (n == 0 ? std::string("matches the file")
                       : std::to_string(n) + (n == 1 ? " difference" : " differences"));
  }
  outcome.ok = outcome.differences.empty();
  view.Finish(index, summary);
  return outcome;
}

}  // namespace

int RunBoardTransfers(const CliOptions& options, const DisplayConfig& file, const SendPlan& plan,
                      CliContext& context) {
  TrafficLog log;
  if (!OpenLog(options, log, context)) return 1;
  const std::vector<std::string> refusals = SendRefusals(file, plan);
  for (const std::string& line : refusals) context.err << "warning: not sent: " << line << "\n";
  const bool read = options.command == CliCommand::kVerify || options.verify;
  const int steps = static_cast<int>(plan.size()) + (read ? kMaintenanceReadSteps : 0);
  ProgressView view(context.out, context.terminal, options.ports, steps);

  std::vector<BoardOutcome> outcomes(options.ports.size());
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < options.ports.size(); ++i) {
    threads.emplace_back([&, i] {
      outcomes[i] =
          ServeBoard(options, file, plan, context, options.log.empty() ? nullptr : &log, view, i);
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
  ProgressView view(context.out, context.terminal, options.ports, kMaintenanceReadSteps);
  BoardSession session(options.ports[0], Timing(options, context),
                       options.log.empty() ? nullptr : &log);
  if (!session.Open(&why)) {
    view.Finish(0, "FAILED: " + why);
    return 1;
  }
  DisplayConfig board;
  const TransferResult r = session.Read(board, [&](int step) { view.Step(0, step); });
  if (!r.ok()) {
    view.Finish(0, "FAILED: " + r.failure + "; " + options.output + " left as it was");
    return 1;
  }
  if (!SaveConfigFile(options.output, board, &why)) {
    view.Finish(0, "read, but " + why);
    return 1;
  }
  view.Finish(0, "read " + std::to_string(r.answered) + " answers in " + Seconds(r.seconds) +
                     ", wrote " + options.output);
  return 0;
}

}  // namespace qrv
