#include "cli_run.h"

#include "cli_options.h"
#include "config_files.h"
#include "run_steps.h"
#include "send_refusals.h"
#include "transfer_commands.h"
#include "visible_text.h"

namespace qrv {
namespace {

int PrintFrames(const DisplayConfig& config, CliContext& context) {
  for (int step = 1; step <= kAllItemsSteps; ++step) {
    if (const auto frame = AllItemsStep(config, step).frame)
      context.out << VisibleText(*frame) << "\n";
  }
  for (const std::string& line : SendRefusals(config)) context.err << "not sent: " << line << "\n";
  return 0;
}

int Check(const CliOptions& options, const DisplayConfig& config, CliContext& context) {
  const std::vector<std::string> refusals = SendRefusals(config);
  for (const std::string& line : refusals) context.out << line << "\n";
  if (refusals.empty()) context.out << options.file << ": every page can be sent\n";
  return refusals.empty() ? 0 : 1;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, CliContext& context) {
  std::string error;
  const std::optional<CliOptions> options = ParseCliOptions(args, &error);
  if (!options) {
    context.err << "qrv470kse-cli: " << error << "\n"
                << "Run `qrv470kse-cli --help` for the commands.\n";
    return 2;
  }
  if (options->help) {
    context.out << CliUsage(options->command);
    return 0;
  }
  if (options->command == CliCommand::kRead) return RunRead(*options, context);

  DisplayConfig config;
  if (!LoadConfigFile(options->file, config, &error)) {
    context.err << "qrv470kse-cli: " << error << "\n";
    return 1;
  }
  switch (options->command) {
    case CliCommand::kFrames:
      return PrintFrames(config, context);
    case CliCommand::kCheck:
      return Check(*options, config, context);
    default:
      return RunBoardTransfers(*options, config, context);
  }
}

}  // namespace qrv
