#pragma once

#include <mutex>
#include <ostream>
#include <string>
#include <vector>

namespace qrv {

// One progress line per board. On a terminal each line is a bar redrawn in place, and at
// the end each bar has become the board's summary; into a file or pipe, plain lines at
// every tenth of the way.
class ProgressView {
 public:
  ProgressView(std::ostream& out, bool terminal, std::vector<std::string> boards, int steps);

  // Safe to call from each board's thread.
  void Step(std::size_t board, int step);
  // The board's last word, shown in place of its bar.
  void Finish(std::size_t board, const std::string& text);
  // After every board has finished: into a file or pipe, where the boards' lines were
  // interleaved, each board's last word once more, together.
  void Summarise();

 private:
  void Redraw();
  std::string Bar(std::size_t board) const;

  std::mutex mutex_;
  std::ostream& out_;
  const bool terminal_;
  const std::vector<std::string> boards_;
  const int steps_;
  std::vector<int> done_;
  std::vector<std::string> finished_;
  bool drawn_ = false;
};

}  // namespace qrv
