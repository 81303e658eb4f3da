#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "board_model.h"
#include "display_config.h"
#include "port_device.h"

namespace qrv {

// A misbehaviour of the board, for testing how the program copes.
struct BoardFault {
  enum class Kind {
    kAnswer,   // answer with text (CR LF added) instead of the model's answer
    kSilent,   // answer nothing
    kGarbage,  // write text as it is instead of an answer
    kUnplug,   // answer nothing and let go of the line, as a cable pulled out
  };
  int frame = 0;  // the received frame it applies to, counting from 1; 0 for every frame
  Kind kind = Kind::kAnswer;
  std::string text;
};

struct BoardOptions {
  std::vector<BoardFault> faults;  // the first that applies to a frame wins
  int answer_delay_ms = 0;         // wait before answering, holding back later frames
  int split_bytes = 0;             // write answers in pieces of this size (0: whole)
  int split_gap_ms = 0;            // pause between the pieces
  // Line speed modelled, 0 for none (bytes move as fast as the pseudo-terminal takes them).
  // Each byte received or sent then takes 11 bit times (start, 8 data, parity, stop), and a
  // frame is answered only once its last byte would have arrived.
  int baud = 0;
  // Time each answer takes to reach the program, as over a far network: the frames that
  // follow are taken and answered meanwhile.
  int latency_ms = 0;
};

// Serves the board's end of a line: reads frames up to LF, answers each through a
// BoardModel, with the faults and timing of its options. A faulted frame leaves the model
// unchanged, as a board that did not take it would.
class BoardServer {
 public:
  // Called on the server thread for every frame with its answer (empty when silent), when
  // the board has made the answer, before it travels.
  using Log = std::function<void(const std::string& frame, const std::string& answer)>;

  // Serves line, the board's end: a serial device, or a network port. Throws
  // std::system_error when nothing is left for its wake-up.
  BoardServer(std::unique_ptr<PortDevice> line, BoardOptions options = {}, Log log = {});
  // The same on a descriptor that stays the caller's to close (a pseudo-terminal master);
  // POSIX only.
  BoardServer(int fd, BoardOptions options = {}, Log log = {});
  ~BoardServer();
  BoardServer(const BoardServer&) = delete;
  BoardServer& operator=(const BoardServer&) = delete;

  // Called on the server thread once an unplug fault has let go of the line; the owner of a
  // line the server only borrows closes it then. Call before Start.
  void OnUnplug(std::function<void()> unplugged);

  void Start();
  void Stop();

  // The model, locked against the server thread for the length of the call.
  void Load(const DisplayConfig& config);
  BoardState state() const;
  int frames_received() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace qrv
