#include "board_line.h"

namespace qrv {

std::optional<BoardLine> MakePseudoTerminalLine(std::string* why) {
  *why = "Windows has no pseudo-terminals: serve --device COMn or --listen 127.0.0.1:PORT";
  return std::nullopt;
}

}  // namespace qrv
