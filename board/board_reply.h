#pragma once

#include <string>

#include "board_model.h"
#include "board_server.h"

namespace qrv {

// What the board does with its frame_number-th frame (counting from 1): the answer it
// writes (empty: none), or that the cable is pulled. The first fault of options that applies
// wins; a faulted frame leaves the model as it was.
struct BoardReply {
  std::string answer;
  bool unplug = false;
};
BoardReply ReplyTo(BoardModel& model, const BoardOptions& options, int frame_number,
                   const std::string& frame);

}  // namespace qrv
