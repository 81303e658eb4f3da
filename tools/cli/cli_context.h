#pragma once

#include <chrono>
#include <ostream>

namespace qrv {

// Where the client writes, and the periods of its fixed pace (tests shorten them).
struct CliContext {
  std::ostream& out;
  std::ostream& err;
  bool terminal = false;  // out is a terminal: progress as bars redrawn in place
  std::chrono::milliseconds send_period{500};
  std::chrono::milliseconds read_period{300};
};

}  // namespace qrv
