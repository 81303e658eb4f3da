#pragma once

#include <string>
#include <string_view>
#include <tuple>

#include "display_config.h"

namespace qrv {

inline std::string Times(std::string_view s, int n) {
  std::string r;
  while (n-- > 0) r += s;
  return r;
}

// Full-width titles on a few pages and every other setting away from its start value, all
// within what the board takes: a configuration that must come back from a board unchanged.
inline DisplayConfig VariedConfig() {
  DisplayConfig c;
  c.set_title(0, 0, "\x93\xfa\x96\x7b");                   // 日本
  c.set_title(0, 6, Times("\x93\xfa", 14));                // a full line
  c.set_title(13, 2, "\x81\x40\x82\xa0\x81\x40\x82\xa2");  // spaces before あ and い stay
  c.set_title(31, 3, "\x82\x60\xea\xa4");                  // Ａ and the last kanji of row 84
  for (int p = 0; p < kPages; ++p) {
    for (int l = 0; l < kLines; ++l) {
      c.char_colour[p][l] = (p + l) % 9;
      c.border_colour[p][l] = (p + 2 * l + 1) % 8;  // never both blank
      c.blink[p][l] = (p * l) % 5;
    }
    c.fill_mask[p] = (p * 5) % 128;
    c.display_time[p] = (p * 7) % 100;
    c.char_level[p] = p % 3 == 0 ? 0 : 1;
  }
  c.position_h = 15;
  c.position_v = 0;
  c.current_page = 31;
  c.display_on = 1;
  return c;
}

// Every field that a board takes and reports back.
inline auto BoardSettings(const DisplayConfig& c) {
  return std::tie(c.title_text, c.blink, c.char_colour, c.border_colour, c.fill_mask,
                  c.display_time, c.char_level, c.position_h, c.position_v, c.current_page,
                  c.display_page_auto);
}

}  // namespace qrv
