// Configures boards from scripts: send, read, verify, frames, check.
#include <unistd.h>

#include <iostream>

#include "cli_run.h"

int main(int argc, char** argv) {
  qrv::CliContext context{std::cout, std::cerr, isatty(STDOUT_FILENO) != 0};
  return qrv::RunCli(std::vector<std::string>(argv + 1, argv + argc), context);
}
