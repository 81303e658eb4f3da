#include "simulated_board.h"

#include <cstdio>

#include "visible_text.h"

namespace qrv {

SimulatedBoard::SimulatedBoard() {
  server_ = std::make_unique<BoardServer>(
      terminal_.master(), BoardOptions{}, [](const std::string& frame, const std::string& answer) {
        std::fprintf(stderr, "board <- %s\nboard -> %s\n", VisibleText(frame).c_str(),
                     VisibleText(answer).c_str());
      });
  server_->Start();
}

SimulatedBoard::~SimulatedBoard() {
  server_->Stop();
}

}  // namespace qrv
