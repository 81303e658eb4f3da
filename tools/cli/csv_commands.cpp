#include "csv_commands.h"

#include "config_csv.h"
#include "config_files.h"
#include "config_problems.h"

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
  why = path + ": " + problems.front();
  return false;
}

}  // namespace

int RunExport(const CliOptions& options, CliContext& context) {
  DisplayConfig config;
  std::vector<std::string> problems;
  std::string why;
  if (!LoadWhole(options.file, config, problems, why)) return Failed(context, why);
  // Written as they are; import names each of them at its line.
  for (const std::string& line : problems) context.err << "warning: " << line << "\n";
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
  const std::vector<std::string> problems = ReadConfigCsv(bytes, config);
  for (const std::string& line : problems) context.err << line << "\n";
  if (!problems.empty()) return 1;
  if (!SaveConfigFile(options.output, config, &why)) return Failed(context, why);
  return 0;
}

}  // namespace qrv
