#pragma once

#include <array>
#include <cstdint>

#include "display_config.h"
#include "title_frame.h"

namespace qrv {

struct PreviewLine {
  int char_colour = 0;  // 0..8, the board's colour numbers (8 = blank)
  int border_colour = 0;
  bool fill = false;
  int blink = 0;  // 0 none, 1..4 the board's blink modes
};

// One page as the board would hold it.
struct PreviewPage {
  TitleCodes codes{};  // JIS codes, 14 a line, line 1 first
  std::array<bool, kTitleCodes>
      refused{};  // a character the conversion refuses: a red-hatched cell
  std::array<PreviewLine, kLines> lines{};
  bool low = false;  // character level "Low"
};

// Exactly what a send of page (index 0..31) would carry: the page through ComposeTitlePage
// (padding with full-width spaces) and the same unit conversion ConvertTitlePage uses, but
// cell by cell, so every refused character is marked (not only the first). A line that
// ComposeTitlePage refuses (too long, odd length) has every cell refused and code 0: no
// character of it would reach the board. Colours, fill (bit l of fill_mask = line l), blink
// and level from the config, as they are, even where no dialog offers the value.
PreviewPage PreviewFromConfig(const DisplayConfig& config, int page);

}  // namespace qrv
