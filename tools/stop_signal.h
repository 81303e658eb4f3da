#pragma once

namespace qrv {

// Holds a program until the user stops it (Ctrl-C or SIGTERM; on Windows Ctrl-C, Ctrl-Break
// or the console closed) or until Raise is called on any thread. Make it before any thread,
// so that only Wait takes the signals.
class StopSignal {
 public:
  StopSignal();
  void Wait();
  static void Raise();
};

}  // namespace qrv
