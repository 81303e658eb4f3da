#include "csv_commands.h"

#include "config_csv.h"
#include "config_files.h"
#include "config_problems.h"
#include "messages.h"
#include "terminal_text.h"
#include "text_format.h"
#include "title_check.h"
#include "translation.h"

namespace qrv {
namespace {

int Failed(CliContext& context, const std::string& why) {
  context.err << "qrv470kse-cli: " << why << "\n";
  return 1;
}

// A .dat file whole: one cut short would hand on values it never held.
bool LoadWhole(const std::string& path, DisplayConfig& config, std::vector<std::string>& problems,
               std::string& why) {
  ConfigFileExtent extent;
  if (!LoadConfigFile(path, config, &extent, &why)) return false;
  problems = ConfigProblems(config, extent);
  if (extent.complete()) return true;
  why = Format(Tr("{1}: {2}"), {path, problems.front()});
  return false;
}

// The lines taken that the board would not show, each named by its page, line and CSV line:
// the file is written all the same, as the GUI stores such a line.
void WarnUnsendable(const DisplayConfig& config, const CsvRowLines& rows, std::ostream& err) {
  for (int p = 0; p < kPages; ++p) {
    for (int l = 0; l < kLines; ++l) {
      const std::string page = std::to_string(p + 1), line = std::to_string(l + 1);
      const std::string csv_line = std::to_string(rows[p * kLines + l]);
      const std::string_view title = config.title(p, l);
      const TitleCheck why = CheckTitleLine(title);
      if (why.fault != TitleFault::kNone) {
        err << Format(
                   Tr("warning: page {1} line {2} (CSV line {3}): the board cannot show the "
                      "title: {4}"),
                   {page, line, csv_line,
                    Format(Tr("{1} in \"{2}\" ({3})"),
                           {TitleFaultText(title, why), TerminalText(title), msg::kTitleRefused})})
            << "\n";
      }
      if (config.char_colour[p][l] == kColourBlank && config.border_colour[p][l] == kColourBlank) {
        err << Format(Tr("warning: page {1} line {2} (CSV line {3}): character and border colour "
                         "are both {4}, which the board refuses ({5})"),
                      {page, line, csv_line, kColourNames[kColourBlank], msg::kCantSetColour})
            << "\n";
      }
    }
  }
}

}  // namespace

int RunExport(const CliOptions& options, CliContext& context) {
  DisplayConfig config;
  std::vector<std::string> problems;
  std::string why;
  if (!LoadWhole(options.file, config, problems, why)) return Failed(context, why);
  // Written as they are; import names each of them at its line.
  for (const std::string& line : problems)
    context.err << Format(Tr("warning: {1}"), {line}) << "\n";
  if (!SaveFileBytes(options.output, WriteConfigCsv(config), &why)) return Failed(context, why);
  return 0;
}

int RunImport(const CliOptions& options, CliContext& context) {
  DisplayConfig config;
  std::vector<std::string> base_problems;
  std::string bytes, why;
  if (!options.base.empty() && !LoadWhole(options.base, config, base_problems, why))
    return Failed(context, why);
  if (!LoadFileBytes(options.file, bytes, &why)) return Failed(context, why);
  CsvRowLines rows{};
  const std::vector<std::string> problems = ReadConfigCsv(bytes, config, &rows);
  for (const std::string& line : problems) context.err << line << "\n";
  if (!problems.empty()) return 1;
  if (!SaveConfigFile(options.output, config, &why)) return Failed(context, why);
  WarnUnsendable(config, rows, context.err);
  return 0;
}

}  // namespace qrv
