#include "cli_run.h"

#include "cli_build.h"
#include "cli_completion.h"
#include "cli_options.h"
#include "config_files.h"
#include "config_problems.h"
#include "csv_commands.h"
#include "preview_command.h"
#include "qrv_version.h"
#include "send_plan.h"
#include "send_refusals.h"
#include "serial_devices.h"
#include "setting_commands.h"
#include "text_format.h"
#include "transfer_commands.h"
#include "translation.h"
#include "visible_text.h"

namespace qrv {
namespace {

int PrintFrames(const CliOptions& options, const DisplayConfig& config,
                const std::vector<std::string>& problems, CliContext& context) {
  for (const std::string& line : problems)
    context.err << Format(Tr("warning: {1}"), {line}) << "\n";
  const SendPlan plan = PlanSend(config, options.selection);
  for (const AllItemsStepResult& step : plan)
    if (step.frame) context.out << VisibleText(*step.frame) << "\n";
  for (const std::string& line : SendRefusals(config, plan))
    context.err << Format(Tr("not sent: {1}"), {line}) << "\n";
  return 0;
}

int Check(const CliOptions& options, const DisplayConfig& config,
          const std::vector<std::string>& problems, CliContext& context) {
  const std::vector<std::string> refusals = SendRefusals(config, PlanSend(config, {}));
  for (const std::string& line : problems) context.out << line << "\n";
  for (const std::string& line : refusals) context.out << line << "\n";
  const bool sound = problems.empty() && refusals.empty();
  if (sound) context.out << Format(Tr("{1}: every page can be sent"), {options.file}) << "\n";
  return sound ? 0 : 1;
}

int ListPorts(CliContext& context) {
  const std::vector<SerialDevice> devices = ListSerialDevices();
  for (const SerialDevice& d : devices) context.out << d.path << "  " << d.description << "\n";
  if (devices.empty()) context.err << Tr("no serial devices found") << "\n";
  return 0;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, CliContext& context) {
  std::string error;
  const std::optional<CliOptions> options = ParseCliOptions(args, &error);
  if (!options) {
    context.err << "qrv470kse-cli: " << error << "\n"
                << Tr("Run `qrv470kse-cli --help` for the commands.\n");
    return 2;
  }
  if (options->completion_table) {
    context.out << CompletionTable();
    return 0;
  }
  if (options->help) {
    context.out << CliUsage(options->command);
    return 0;
  }
  if (options->version) {
    context.out << "qrv470kse-cli " QRV_VERSION "\n";
    return 0;
  }
  if (options->command == CliCommand::kRead) return RunRead(*options, context);
  if (options->command == CliCommand::kPorts) return ListPorts(context);
  if (options->command == CliCommand::kDisplay || options->command == CliCommand::kPage)
    return RunSettingCommand(*options, context);
  // Commands this build lacks are refused with the command line, and not linked.
  if constexpr (kCliHasCsv) {
    if (options->command == CliCommand::kExport) return RunExport(*options, context);
    if (options->command == CliCommand::kImport) return RunImport(*options, context);
  }

  DisplayConfig config;
  ConfigFileExtent extent;
  if (!LoadConfigFile(options->file, config, &extent, &error)) {
    context.err << "qrv470kse-cli: " << error << "\n";
    return 1;
  }
  const std::vector<std::string> problems = ConfigProblems(config, extent);
  // A file cut short or holding values no dialog offers would leave a board half-configured
  // or overwritten with defaults.
  if (options->command == CliCommand::kSend && !problems.empty()) {
    for (const std::string& line : problems) context.err << line << "\n";
    context.err << "qrv470kse-cli: "
                << Format(Tr("{1} not sent: fix the lines above (qrv470kse-cli check lists them)"),
                          {options->file})
                << "\n";
    return 1;
  }
  switch (options->command) {
    case CliCommand::kFrames:
      return PrintFrames(*options, config, problems, context);
    case CliCommand::kCheck:
      return Check(*options, config, problems, context);
    case CliCommand::kPreview:
      if constexpr (kCliHasPreview) return RunPreview(*options, config, problems, context);
      return 2;
    default:
      return RunBoardTransfers(
          *options, config,
          options->command == CliCommand::kSend ? PlanSend(config, options->selection) : SendPlan{},
          context);
  }
}

}  // namespace qrv
