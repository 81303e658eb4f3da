#include "progress_view.h"

#include <cstdio>

#include "text_format.h"
#include "translation.h"

namespace qrv {
namespace {

constexpr int kBarWidth = 30;
// The fleet's bar is drawn again at most this often; a failure shows at once.
constexpr std::chrono::milliseconds kFleetRedraw{100};

std::string Filled(long long done, long long all) {
  const auto filled = static_cast<std::size_t>(all > 0 ? done * kBarWidth / all : 0);
  return "[" + std::string(filled, '#') + std::string(kBarWidth - filled, '.') + "]";
}

}  // namespace

ProgressView::ProgressView(std::ostream& out, bool terminal, std::vector<std::string> boards,
                           int steps, int rows)
    : out_(out),
      terminal_(terminal),
      fleet_(terminal && rows > 0 && boards.size() + 1 > static_cast<std::size_t>(rows)),
      boards_(std::move(boards)),
      steps_(steps),
      done_(boards_.size()),
      finished_(boards_.size()) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (fleet_) {
    DrawFleet(true);
  } else if (terminal_) {
    Redraw();
  }
}

std::string ProgressView::Bar(std::size_t board) const {
  if (!finished_[board].empty()) return boards_[board] + ": " + finished_[board];
  return boards_[board] + " " + Filled(done_[board], steps_) + " " + std::to_string(done_[board]) +
         "/" + std::to_string(steps_);
}

std::string ProgressView::FleetBar() const {
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  const double rate = seconds > 0 ? static_cast<double>(steps_done_) / seconds : 0;
  const long long all = static_cast<long long>(steps_) * static_cast<long long>(boards_.size());
  std::string figures = Tr("starting");
  if (rate > 0) {
    char frames[32], left[32];
    std::snprintf(frames, sizeof frames, "%.0f", rate);
    std::snprintf(left, sizeof left, "%.0f", static_cast<double>(all - steps_done_) / rate);
    figures = Format(Tr("{1} frames/s, {2} s left"), {frames, left});
  }
  return Format(Tr("{1} {2}/{3} boards done, {4} failed, {5}"),
                {Filled(steps_done_, all), std::to_string(boards_done_),
                 std::to_string(boards_.size()), std::to_string(boards_failed_), figures});
}

void ProgressView::Redraw() {
  // Back to the first bar, then every bar again, each line cleared first.
  if (drawn_) out_ << "\x1b[" << boards_.size() << "A";
  for (std::size_t b = 0; b < boards_.size(); ++b) out_ << "\r\x1b[2K" << Bar(b) << "\n";
  out_.flush();
  drawn_ = true;
}

void ProgressView::DrawFleet(bool now) {
  const auto at = std::chrono::steady_clock::now();
  if (!now && at - drawn_at_ < kFleetRedraw) return;
  drawn_at_ = at;
  out_ << "\r\x1b[2K" << FleetBar();
  out_.flush();
}

void ProgressView::Step(std::size_t board, int step) {
  steps_done_ += step - done_[board].exchange(step);
  const bool tenth = step * 10 / steps_ != (step - 1) * 10 / steps_;
  if (!terminal_ && !tenth) return;
  std::lock_guard<std::mutex> lock(mutex_);
  if (fleet_) {
    DrawFleet(false);
  } else if (terminal_) {
    Redraw();
  } else {
    out_ << boards_[board] << ": " << step << "/" << steps_ << std::endl;
  }
}

void ProgressView::Finish(std::size_t board, const std::string& text, bool failed) {
  std::lock_guard<std::mutex> lock(mutex_);
  finished_[board] = text;
  ++boards_done_;
  if (failed) ++boards_failed_;
  if (fleet_) {
    // The failure above the bar, which goes on below it.
    if (failed) out_ << "\r\x1b[2K" << Bar(board) << "\n";
    DrawFleet(true);
  } else if (terminal_) {
    Redraw();
  } else {
    out_ << Bar(board) << std::endl;
  }
}

void ProgressView::Summarise() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (fleet_) {
    out_ << "\n";
    return;
  }
  if (terminal_ || boards_.size() < 2) return;
  out_ << Tr("summary:") << "\n";
  for (std::size_t b = 0; b < boards_.size(); ++b) out_ << "  " << Bar(b) << "\n";
}

}  // namespace qrv
