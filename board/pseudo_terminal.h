#pragma once

#include <string>

namespace qrv {

// A pseudo-terminal standing in for the cable: the program opens path() like a serial
// device, the simulated board serves master(). The board end also keeps the device side
// open, so the program may close and reopen it without the board seeing a hang-up.
class PseudoTerminal {
 public:
  // Throws std::system_error when the system has no pseudo-terminal to give.
  PseudoTerminal();
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  int master() const { return master_; }
  const std::string& path() const { return path_; }

  // Closes the board's end: to the program the cable has been pulled.
  void Close();

 private:
  int master_ = -1;
  int held_device_ = -1;
  std::string path_;
};

}  // namespace qrv
