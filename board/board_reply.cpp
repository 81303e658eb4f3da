#include "board_reply.h"

namespace qrv {

BoardReply ReplyTo(BoardModel& model, const BoardOptions& options, int frame_number,
                   const std::string& frame) {
  for (const BoardFault& fault : options.faults) {
    if (fault.frame != 0 && fault.frame != frame_number) continue;
    switch (fault.kind) {
      case BoardFault::Kind::kAnswer:
        return {fault.text + "\r\n"};
      case BoardFault::Kind::kGarbage:
        return {fault.text};
      case BoardFault::Kind::kUnplug:
        return {{}, true};
      case BoardFault::Kind::kSilent:
        return {};
    }
  }
  return {model.Answer(frame)};
}

}  // namespace qrv
