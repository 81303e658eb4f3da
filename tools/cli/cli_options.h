#pragma once

#include <optional>
#include <string>
#include <vector>

#include "board_session.h"

namespace qrv {

enum class CliCommand { kNone, kSend, kRead, kVerify, kFrames, kCheck, kPorts };

struct CliOptions {
  CliCommand command = CliCommand::kNone;
  bool help = false;               // print the usage of command (or of all) and stop
  std::string file;                // the .dat to send, verify, print or check
  std::vector<std::string> ports;  // devices, or tcp://HOST:PORT
  std::string output;              // read: the .dat to write
  Pace pace = Pace::kFixed;
  bool verify = false;  // send: read each board back afterwards
  std::string log;      // traffic log to append to
};

// The command line after the program's name. Nothing, with why in error, when it does not
// make a whole command.
std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& args, std::string* error);

// What --help prints: one command's usage, or the overview for kNone.
std::string CliUsage(CliCommand command);

}  // namespace qrv
