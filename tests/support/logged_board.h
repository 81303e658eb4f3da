#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "board_server.h"
#include "pseudo_terminal.h"

namespace qrv {

// The simulated board on a pseudo-terminal, keeping every frame it received in order.
class LoggedBoard {
 public:
  explicit LoggedBoard(BoardOptions options = {})
      : server_(terminal_.master(), std::move(options),
                [this](const std::string& frame, const std::string&) {
                  std::lock_guard<std::mutex> lock(mutex_);
                  frames_.push_back(frame);
                }) {
    server_.Start();
  }
  ~LoggedBoard() { server_.Stop(); }

  const std::string& device() const { return terminal_.path(); }

  std::vector<std::string> frames() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return frames_;
  }
  std::size_t count() const { return frames().size(); }

 private:
  PseudoTerminal terminal_;
  mutable std::mutex mutex_;
  std::vector<std::string> frames_;
  BoardServer server_;
};

}  // namespace qrv
