#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

namespace qrv {

// How the boards' progress is shown. On a terminal each board has a bar redrawn in place,
// and at the end each bar has become the board's summary; with more boards than the
// terminal has rows, one bar for the fleet instead (boards done and failed, frames a second,
// time left), and a line for each board that fails, as it fails. Into a file or pipe, plain
// lines at every tenth of each board's way.
class ProgressView {
 public:
  // rows: the terminal's height, 0 when not known.
  ProgressView(std::ostream& out, bool terminal, std::vector<std::string> boards, int steps,
               int rows = 0);

  // Safe to call from each board's thread.
  void Step(std::size_t board, int step);
  // The board's last word, shown in place of its bar; failed tells the fleet's bar.
  void Finish(std::size_t board, const std::string& text, bool failed = false);
  // After every board has finished: into a file or pipe, where the boards' lines were
  // interleaved, each board's last word once more, together.
  void Summarise();

 private:
  void Redraw();
  void DrawFleet(bool now);
  std::string Bar(std::size_t board) const;
  std::string FleetBar() const;

  std::mutex mutex_;
  std::ostream& out_;
  const bool terminal_;
  const bool fleet_;
  const std::vector<std::string> boards_;
  const int steps_;
  // A board's steps and the fleet's, counted without the lock: a thousand boards' threads
  // step at once, and only a line to print needs it.
  std::vector<std::atomic<int>> done_;
  std::vector<std::string> finished_;
  bool drawn_ = false;
  std::atomic<long long> steps_done_{0};
  int boards_done_ = 0, boards_failed_ = 0;
  const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point drawn_at_{};
};

}  // namespace qrv
