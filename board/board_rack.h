#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "board_model.h"
#include "board_server.h"
#include "listening_socket.h"

namespace qrv {

// Many simulated boards in one process, each behind a TCP port of its own as a serial device
// server in raw TCP mode presents a board: one connection at a time is its cable, the next
// waits until it closes, and the board keeps its settings across connections. One thread
// serves them all, so a rack of a thousand costs no more threads than one board; each board
// has its own options (faults, delay, split answers, line speed, latency) as BoardServer
// gives them to a single board.
class BoardRack {
 public:
  // Called on the rack's thread for every frame a board took, with its answer (empty when
  // silent); board counts from 0.
  using Log = std::function<void(int board, const std::string& frame, const std::string& answer)>;

  // Listens on count consecutive ports from first_port of host (first_port 0: on ports the
  // system chooses); nullptr with a one-line reason naming the port that could not be taken.
  static std::unique_ptr<BoardRack> Listen(const std::string& host, int first_port, int count,
                                           const std::function<BoardOptions(int board)>& options,
                                           Log log, std::string* why);
  ~BoardRack();
  BoardRack(const BoardRack&) = delete;
  BoardRack& operator=(const BoardRack&) = delete;

  void Start();
  void Stop();
  // Serves the boards on the calling thread until Stop, or until every board is unplugged.
  void Run();

  int size() const;
  // HOST:PORT of a board.
  std::string address(int board) const;
  // A board's model and its count of frames, locked against the rack's thread.
  void Load(int board, const DisplayConfig& config);
  BoardState state(int board) const;
  int frames_received(int board) const;
  // Boards that let go of their line (an unplug fault).
  int unplugged() const;

 private:
  struct Impl;
  explicit BoardRack(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace qrv
