#pragma once

#include <optional>

#include "checked_frame.h"
#include "display_config.h"
#include "frames.h"

namespace qrv {

// Steps of a run that go page by page, page 1 at the first.
struct StepRange {
  int first;
  int last;
  constexpr bool Holds(int step) const { return step >= first && step <= last; }
  constexpr int Page(int step) const { return step - first; }
  constexpr int Step(int page) const { return first + page; }
};

// The step tables of the two 103-step runs: sending the whole configuration and reading it
// back. Steps count from 1; a step may send nothing.
constexpr int kAllItemsSteps = 103;
constexpr int kMaintenanceReadSteps = 103;

// Sending: the title of every page (stored), nothing at 33, fill, level, the colours and
// blink of every page, display page, display time, horizontal and vertical position.
// Display on/off is never part of it.
namespace send_step {
constexpr StepRange kTitles{1, kPages};
constexpr int kFill = 34;
constexpr int kCharLevel = 35;
constexpr StepRange kColours{36, 35 + kPages};
constexpr StepRange kBlink{68, 67 + kPages};
constexpr int kDisplayPage = 100;
constexpr int kDisplayTime = 101;
constexpr int kPositionH = 102;
constexpr int kPositionV = 103;
}  // namespace send_step

// Reading: the title, blink and colour requests of every page, nothing at 97, then display
// page, time, fill, level and the two positions.
namespace read_step {
constexpr StepRange kTitles{1, kPages};
constexpr StepRange kBlink{33, 32 + kPages};
constexpr StepRange kColours{65, 64 + kPages};
constexpr int kDisplayPage = 98;
constexpr int kDisplayTime = 99;
constexpr int kFill = 100;
constexpr int kCharLevel = 101;
constexpr int kPositionH = 102;
constexpr int kPositionV = 103;
}  // namespace read_step

// Sending one page as the setting dialogs' "設定" buttons would: its title (stored), its
// colours, blink and fill, then the character level and display time, which carry every
// page.
constexpr int kPageSendSteps = 6;
namespace page_step {
constexpr int kTitle = 1;
constexpr int kColours = 2;
constexpr int kBlink = 3;
constexpr int kFill = 4;
constexpr int kCharLevel = 5;
constexpr int kDisplayTime = 6;
}  // namespace page_step

// A step's frame, or why the page it sends cannot be sent.
struct AllItemsStepResult : CheckedFrame {
  int page = -1;  // the page index the step sends, -1 for a frame of the whole board
};

AllItemsStepResult AllItemsStep(const DisplayConfig& config, int step);
std::optional<Frame> MaintenanceReadStep(int step);
// Step 1..kPageSendSteps of sending page (index 0..31).
AllItemsStepResult PageSendStep(const DisplayConfig& config, int page, int step);

}  // namespace qrv
