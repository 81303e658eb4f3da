#pragma once

#include <memory>
#include <string>

#include "board_server.h"
#include "pseudo_terminal.h"

namespace qrv {

// The board simulated inside the program on a pseudo-terminal, for trying every dialog
// without a board. Frames and answers are logged on stderr.
class SimulatedBoard {
 public:
  // Throws std::system_error when no pseudo-terminal can be had.
  SimulatedBoard();
  ~SimulatedBoard();

  // The device the program opens to reach the board.
  const std::string& device() const { return terminal_.path(); }
  // What the board holds now.
  BoardState state() const { return server_->state(); }

 private:
  PseudoTerminal terminal_;
  std::unique_ptr<BoardServer> server_;
};

}  // namespace qrv
