#pragma once

#include <fstream>
#include <mutex>
#include <string>

namespace qrv {

// How one board ended, as --report keeps it.
struct BoardReportLine {
  std::string port;
  bool ok = false;
  int frames = 0;        // put on the line
  double seconds = 0;    // on the line
  std::string error;     // the one-line reason; empty when it went through
  bool verify = false;   // the board was read back and compared
  int differences = -1;  // then the differences found; -1 when the read did not go through
};

// --report FILE: JSON Lines, one object a board, written as each board ends, so monitoring
// may read it while a fleet is still going. The fields and their meaning are stable:
// {"port":"tcp://10.0.0.21:4001","ok":false,"frames":5,"seconds":1.2,
//  "error":"frame 5: Parity Error (the board answered E1)"}, and after a read back to compare
// "differences", a number, or null when the read did not go through.
class BoardReport {
 public:
  // Makes the file anew; false with a one-line reason. Without a path nothing is written.
  bool Open(const std::string& path, std::string* why);
  // Safe to call from each board's thread.
  void Write(const BoardReportLine& line);

  // The object of one line, without its line end.
  static std::string Json(const BoardReportLine& line);

 private:
  std::mutex mutex_;
  std::ofstream file_;
};

}  // namespace qrv
