#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "preview_page.h"

namespace qrv {

constexpr int kDotsWide = 224;  // 14 cells of 16 dots
constexpr int kDotsHigh = 112;  // 7 lines of 16 dots

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
  bool operator!=(const Rgb& o) const { return !(*this == o); }
};

using DotImage = std::vector<Rgb>;  // kDotsWide * kDotsHigh, row by row

// Whether a line of blink mode (0..4) is lit at ms milliseconds into the display. Mode 0 (and
// any other number) is always lit; every mode is lit at 0 ms, so a still picture shows the on
// phase. Mode 1 blinks slowly (1 s: 500 ms on, 500 ms off), 2 fast (500 ms: 250 on, 250 off),
// 3 goes out briefly (1 s: 750 on, 250 off), 4 flashes briefly (1 s: 250 on, 750 off).
bool BlinkLit(int mode, long long ms);

// The board's dots from pages, through the 16x16 bitmap fonts: a glyph dot in the character
// colour, a dot touching one (of its eight neighbours, within the line) in the bordering
// colour, with fill every other dot of the line in the bordering colour; blank (8) lights
// nothing. A line in the off phase of its blink is dark; Low halves every channel. A refused
// cell is hatched red whatever the line's colours, blink and level: it is our mark, not the
// board's. The display position is not drawn.
class DotRenderer {
 public:
  // Opens the JIS font (QRV470KSE_DOT_FONT, else /usr/share/fonts/X11/misc/shnmk16.pcf.gz) and
  // the Unicode fallback for the codes it lacks (QRV470KSE_DOT_FALLBACK_FONT, else
  // /usr/share/fonts/X11/misc/unifont.pcf.gz, reached through code page 932). A font that
  // cannot be opened leaves warning() with one clear line; a code no font has is drawn as a
  // hollow box. Never throws.
  DotRenderer();
  ~DotRenderer();
  DotRenderer(const DotRenderer&) = delete;
  DotRenderer& operator=(const DotRenderer&) = delete;

  // Empty when both fonts opened.
  const std::string& warning() const;
  // Safe to call from several threads at once.
  DotImage Render(const PreviewPage& page, long long ms = 0) const;

 private:
  struct Fonts;
  std::unique_ptr<Fonts> fonts_;
};

}  // namespace qrv
