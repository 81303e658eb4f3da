#include "progress_view.h"

namespace qrv {
namespace {

constexpr int kBarWidth = 30;

}  // namespace

ProgressView::ProgressView(std::ostream& out, bool terminal, std::vector<std::string> boards,
                           int steps)
    : out_(out),
      terminal_(terminal),
      boards_(std::move(boards)),
      steps_(steps),
      done_(boards_.size(), 0),
      finished_(boards_.size()) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (terminal_) Redraw();
}

std::string ProgressView::Bar(std::size_t board) const {
  if (!finished_[board].empty()) return boards_[board] + ": " + finished_[board];
  const int filled = done_[board] * kBarWidth / steps_;
  return boards_[board] + " [" + std::string(static_cast<std::size_t>(filled), '#') +
         std::string(static_cast<std::size_t>(kBarWidth - filled), '.') + "] " +
         std::to_string(done_[board]) + "/" + std::to_string(steps_);
}

void ProgressView::Redraw() {
  // Back to the first bar, then every bar again, each line cleared first.
  if (drawn_) out_ << "\x1b[" << boards_.size() << "A";
  for (std::size_t b = 0; b < boards_.size(); ++b) out_ << "\r\x1b[2K" << Bar(b) << "\n";
  out_.flush();
  drawn_ = true;
}

void ProgressView::Step(std::size_t board, int step) {
  std::lock_guard<std::mutex> lock(mutex_);
  done_[board] = step;
  if (terminal_) {
    Redraw();
  } else if (step * 10 / steps_ != (step - 1) * 10 / steps_) {
    out_ << boards_[board] << ": " << step << "/" << steps_ << std::endl;
  }
}

void ProgressView::Finish(std::size_t board, const std::string& text) {
  std::lock_guard<std::mutex> lock(mutex_);
  finished_[board] = text;
  if (terminal_) {
    Redraw();
  } else {
    out_ << Bar(board) << std::endl;
  }
}

void ProgressView::Summarise() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (terminal_ || boards_.size() < 2) return;
  out_ << "summary:\n";
  for (std::size_t b = 0; b < boards_.size(); ++b) out_ << "  " << Bar(b) << "\n";
}

}  // namespace qrv
