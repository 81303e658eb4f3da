#pragma once

#include <optional>
#include <string>
#include <vector>

#include "board_server.h"

namespace qrv {

// From this many boards on, the board tool logs only errors and its summary.
constexpr int kQuietFromBoards = 100;

// The board tool's command line.
struct BoardToolOptions {
  BoardOptions board;  // each board's faults, delay, latency, split answers and line speed
  std::string device;  // a serial device to serve
  std::string listen;  // HOST:PORT to serve
  std::string load;    // the .dat the boards start with
  int boards = 0;      // --boards: boards on consecutive ports; 0 when not given
  bool quiet = false;  // log only errors and the summary
  bool help = false;
  bool version = false;
};

// The command line after the program's name; nothing, with why in error, when it does not
// make a whole one.
std::optional<BoardToolOptions> ParseBoardToolOptions(const std::vector<std::string>& args,
                                                      std::string* error);
// What --help prints.
std::string BoardToolUsage();

}  // namespace qrv
