// Configures boards from scripts: send, read, verify, frames, check.
#include <iostream>

#include "cli_run.h"
#include "console.h"
#include "translation.h"

int main(int argc, char** argv) {
  qrv::TakeOperatorLocale();
  qrv::CliContext context{std::cout, std::cerr, qrv::PrepareConsole()};
  context.rows = qrv::ConsoleRows();
  return qrv::RunCli(std::vector<std::string>(argv + 1, argv + argc), context);
}
