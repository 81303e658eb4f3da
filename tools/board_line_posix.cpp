#include "board_line.h"
#include "descriptor_device.h"
#include "pseudo_terminal.h"

namespace qrv {

std::optional<BoardLine> MakePseudoTerminalLine(std::string* why) {
  std::shared_ptr<PseudoTerminal> pty;
  try {
    pty = std::make_shared<PseudoTerminal>();
  } catch (const std::exception& e) {
    *why = e.what();
    return std::nullopt;
  }
  return BoardLine{BorrowDescriptor(pty->master()), pty->path(), [pty] { pty->Close(); }};
}

}  // namespace qrv
