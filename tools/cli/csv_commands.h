#pragma once

#include "cli_context.h"
#include "cli_options.h"

namespace qrv {

// export: the titles, colours, blink, fill, times and levels of options.file as a CSV in
// options.output. Returns the exit status.
int RunExport(const CliOptions& options, CliContext& context);

// import: the CSV options.file over options.base (or the start values) as the .dat
// options.output, written only when the whole CSV is sound. Returns the exit status.
int RunImport(const CliOptions& options, CliContext& context);

}  // namespace qrv
