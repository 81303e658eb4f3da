#pragma once

#include <vector>

#include "dot_renderer.h"

namespace qrv {

// Pixels, row by row.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;
};

// Dots of width x height as squares of scale x scale pixels.
Picture ScaleDots(const std::vector<Rgb>& dots, int width, int height, int scale);

// One page at scale pixels per dot, blink in its on phase.
Picture PagePicture(const DotRenderer& renderer, const PreviewPage& page, int scale);

// The 32 pages of config, 4 across and 8 down on grey, each under its number.
Picture SheetPicture(const DotRenderer& renderer, const DisplayConfig& config, int scale);

}  // namespace qrv
