#pragma once

#include <string>

#include "display_config.h"

namespace bench {

// Every field away from its default, every title line 14 full-width characters.
inline qrv::DisplayConfig FullConfig() {
  qrv::DisplayConfig c;
  for (int p = 0; p < qrv::kPages; ++p) {
    for (int l = 0; l < qrv::kLines; ++l) {
      std::string text;
      for (int i = 0; i < 14; ++i) {
        text += static_cast<char>(0x88 + (p + l) % 8);
        text += static_cast<char>(0x9F + i);
      }
      c.set_title(p, l, text);
      c.char_colour[p][l] = (p + l) % 8;
      c.border_colour[p][l] = (p * 3 + l) % 8;
      c.blink[p][l] = (p + l) % 5;
    }
    c.fill_mask[p] = p * 5 & 0x7F;
    c.char_level[p] = p % 2;
    c.display_time[p] = 99 - p;
  }
  c.position_h = 15;
  c.position_v = 3;
  c.current_page = 17;
  return c;
}

}  // namespace bench
