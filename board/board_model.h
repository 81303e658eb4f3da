#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "display_config.h"
#include "title_frame.h"

namespace qrv {

// What the board holds.
struct BoardState {
  PerPage<TitleCodes> titles{};        // kept title codes per page (0x2121 = full-width space)
  PerPage<TitleCodes> shown_titles{};  // what the board displays ("CN" frames change only this)
  PerLine<int> blink{}, char_colour{}, border_colour{};
  PerPage<int> fill_mask{}, display_time{}, char_level{};  // fill: bit l = line l filled
  int position_h = 0, position_v = 0;
  int display_page = 0;       // page index 0..31
  bool display_auto = false;  // "PAS" selected Auto
  bool display_on = false;
};

// The display board as the program sees it: frames in, answer lines out. No I/O, no threads,
// so tests, the --simulate mode and the stand-alone simulator all share one board.
class BoardModel {
 public:
  // Longest answer: the "PTIC" line, CR LF included.
  static constexpr std::size_t kMaxAnswerBytes = 454;

  // The values of a freshly reset configuration, display on, every title a full-width space.
  BoardModel();

  // Start values, then every value of config the board would take: titles of pages that
  // convert, the display page (current_page 32 or display_page_auto = Auto) and display_on.
  // A value the board would refuse keeps its start value.
  void LoadFrom(const DisplayConfig& config);

  // One received frame, CR LF included -> the answer line, CR LF included. A frame not
  // understood exactly gets "E3" and changes nothing.
  std::string Answer(std::string_view frame);

  const BoardState& state() const { return state_; }

 private:
  BoardState state_;
};

}  // namespace qrv
