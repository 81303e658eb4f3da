#include "preview_sheet.h"

#include <algorithm>
#include <string>

namespace qrv {
namespace {

constexpr int kColumns = 4;
constexpr int kGap = 8;         // dots between pages and round the sheet
constexpr int kLabelHigh = 16;  // one line of the font
constexpr int kLabelGap = 2;
constexpr int kTileHigh = kLabelHigh + kLabelGap + kDotsHigh;
constexpr Rgb kSheetGrey{48, 48, 48};
constexpr int kJisZero = 0x2330;  // ０
constexpr int kWhite = 7;

// The page number in full-width digits, drawn by the board's own font onto the grey.
void DrawLabel(const DotRenderer& renderer, int number, std::vector<Rgb>& sheet, int sheet_wide,
               int top, int left) {
  PreviewPage label;
  label.codes.fill(0x2121);
  label.lines[0] = PreviewLine{kWhite, kColourBlank, false, 0};
  const std::string digits = std::to_string(number);
  for (std::size_t i = 0; i < digits.size(); ++i) label.codes[i] = kJisZero + (digits[i] - '0');
  const DotImage dots = renderer.Render(label);
  for (int y = 0; y < kLabelHigh; ++y)
    for (int x = 0; x < kDotsWide; ++x)
      if (dots[y * kDotsWide + x] != Rgb{})
        sheet[(top + y) * sheet_wide + left + x] = dots[y * kDotsWide + x];
}

}  // namespace

Picture ScaleDots(const std::vector<Rgb>& dots, int width, int height, int scale) {
  Picture picture{width * scale, height * scale, {}};
  picture.pixels.resize(static_cast<std::size_t>(picture.width) * picture.height);
  for (int y = 0; y < height; ++y) {
    Rgb* row = picture.pixels.data() + static_cast<std::size_t>(y) * scale * picture.width;
    for (int x = 0; x < width; ++x) std::fill_n(row + x * scale, scale, dots[y * width + x]);
    for (int copy = 1; copy < scale; ++copy)
      std::copy_n(row, picture.width, row + copy * picture.width);
  }
  return picture;
}

Picture PagePicture(const DotRenderer& renderer, const PreviewPage& page, int scale) {
  return ScaleDots(renderer.Render(page), kDotsWide, kDotsHigh, scale);
}

Picture SheetPicture(const DotRenderer& renderer, const DisplayConfig& config, int scale) {
  constexpr int kRows = kPages / kColumns;
  constexpr int kWide = kColumns * kDotsWide + (kColumns + 1) * kGap;
  constexpr int kHigh = kRows * kTileHigh + (kRows + 1) * kGap;
  std::vector<Rgb> sheet(kWide * kHigh, kSheetGrey);
  for (int p = 0; p < kPages; ++p) {
    const int left = kGap + p % kColumns * (kDotsWide + kGap);
    const int top = kGap + p / kColumns * (kTileHigh + kGap);
    DrawLabel(renderer, p + 1, sheet, kWide, top, left);
    const DotImage dots = renderer.Render(PreviewFromConfig(config, p));
    for (int y = 0; y < kDotsHigh; ++y) {
      std::copy_n(dots.begin() + y * kDotsWide, kDotsWide,
                  sheet.begin() + (top + kLabelHigh + kLabelGap + y) * kWide + left);
    }
  }
  return ScaleDots(sheet, kWide, kHigh, scale);
}

}  // namespace qrv
