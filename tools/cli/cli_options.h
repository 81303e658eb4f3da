#pragma once

#include <optional>
#include <string>
#include <vector>

#include "board_session.h"
#include "send_selection.h"

namespace qrv {

enum class CliCommand {
  kNone,
  kSend,
  kRead,
  kVerify,
  kFrames,
  kCheck,
  kPorts,
  kPreview,
  kDisplay,
  kPage,
  kExport,
  kImport
};

// The most pixels a dot may take in a picture; the sheet of all pages is then 7488 x 8896.
constexpr int kMaxPreviewScale = 8;
// The longest answer time-out taken, ten minutes.
constexpr int kMaxAnswerTimeoutMs = 600000;

struct CliOptions {
  CliCommand command = CliCommand::kNone;
  bool help = false;               // print the usage of command (or of all) and stop
  bool version = false;            // print the program's version and stop
  bool completion_table = false;   // print the shell's table of commands and options and stop
  std::string file;                // the .dat to send, verify, print or check; import: the CSV
  std::vector<std::string> ports;  // devices, or tcp://HOST:PORT
  std::string output;              // read, import: the .dat to write; preview: the PNG
  std::string base;                // import: the .dat whose board-wide values are kept
  Pace pace = Pace::kFixed;
  int answer_timeout_ms = static_cast<int>(kDefaultAnswerTimeout.count());
  bool verify = false;  // send: read each board back afterwards
  std::string log;      // traffic log to append to
  std::string report;   // JSON Lines of how each board ended, made anew
  int page = 0;         // preview: the page 1..32, 0 when not given (page 1)
  bool all_pages = false;
  int scale = 4;            // preview: pixels a dot
  SendSelection selection;  // send, frames: the pages and kinds chosen, all when not given
  bool display_on = false;  // display: on or off
  int shown_page = 0;       // page: the page 1..32 the board is to show, 0 for Auto
};

// Where the boards are named when no --port is given: devices separated by blanks.
constexpr char kPortsVariable[] = "QRV470KSE_PORTS";

// The command line after the program's name. Nothing, with why in error, when it does not
// make a whole command. A transfer without --port takes the boards of kPortsVariable.
std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& args, std::string* error);

// What --help prints: one command's usage, or the overview for kNone.
std::string CliUsage(CliCommand command);

}  // namespace qrv
