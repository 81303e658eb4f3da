#pragma once

#include <chrono>
#include <ostream>

#include "periods.h"

namespace qrv {

// Where the client writes, and the periods of its fixed pace (tests shorten them).
struct CliContext {
  std::ostream& out;
  std::ostream& err;
  bool terminal = false;  // out is a terminal: progress as bars redrawn in place
  std::chrono::milliseconds send_period = kSendPeriod;
  std::chrono::milliseconds read_period = kReadPeriod;
  int rows = 0;  // the terminal's height, 0 when not known: more boards get one fleet bar
};

}  // namespace qrv
