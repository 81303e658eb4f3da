#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdlib>

#include "cli_runner.h"
#include "dot_renderer.h"
#include "preview_sheet.h"

namespace qrv {
namespace {

constexpr Rgb kDark{}, kRed{255, 0, 0}, kGreen{0, 255, 0}, kWhite{255, 255, 255};
constexpr int kCell = 16;

// The 16 x 16 dots of a cell, row by row.
std::vector<Rgb> Cell(const std::vector<Rgb>& image, int line, int column) {
  std::vector<Rgb> dots;
  for (int y = line * kCell; y < (line + 1) * kCell; ++y)
    for (int x = column * kCell; x < (column + 1) * kCell; ++x)
      dots.push_back(image[y * kDotsWide + x]);
  return dots;
}

int Lit(const std::vector<Rgb>& dots) {
  return static_cast<int>(dots.size()) -
         static_cast<int>(std::count(dots.begin(), dots.end(), kDark));
}

Picture ReadPng(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  Picture picture;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return picture;
  image.format = PNG_FORMAT_RGB;
  picture.pixels.resize(PNG_IMAGE_SIZE(image) / 3);
  if (png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr)) {
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
  }
  return picture;
}

TEST(PreviewTest, EachCharacterComesFromTheJisFontOrTheFallbackWithinItsCell) {
  const DotRenderer renderer;
  ASSERT_EQ(renderer.warning(), "");
  // 亜, Ｆ, ① (row 13) and ⅰ (row 92), which the JIS font lacks, the full-width
  // space, and a code of row 2 that neither font has.
  const char* texts[] = {"\x88\x9f", "\x82\x65", "\x87\x40", "\xfa\x40", "\x81\x40", "\x81\xad"};
  DisplayConfig config;
  for (int l = 0; l < 6; ++l) {
    config.set_title(0, l, texts[l]);
    config.border_colour[0][l] = kColourBlank;
  }
  const DotImage image = renderer.Render(PreviewFromConfig(config, 0));
  const std::vector<Rgb> box = Cell(image, 5, 0);
  for (int l = 0; l < 4; ++l) {
    EXPECT_GT(Lit(Cell(image, l, 0)), 8) << l;
    EXPECT_NE(Cell(image, l, 0), box) << l;
    for (int c = 1; c < kCodesPerLine; ++c) EXPECT_EQ(Lit(Cell(image, l, c)), 0) << l;
  }
  EXPECT_EQ(Lit(Cell(image, 4, 0)), 0);
  EXPECT_EQ(std::count(image.begin(), image.end(), kWhite), Lit(image));
  // The hollow box is the cell's outline.
  EXPECT_EQ(Lit(box), 4 * kCell - 4);
  EXPECT_EQ(box[0], kWhite);
  EXPECT_EQ(box[kCell * kCell / 2 + kCell / 2], kDark);
  // Ｆ stands upright, unmirrored: its longest stroke across at the top, down
  // at the left.
  const std::vector<Rgb> f = Cell(image, 1, 0);
  std::array<int, kCell> across{}, down{};
  for (int i = 0; i < kCell * kCell; ++i) {
    across[i / kCell] += f[i] == kWhite;
    down[i % kCell] += f[i] == kWhite;
  }
  EXPECT_LT(std::max_element(across.begin(), across.end()) - across.begin(), kCell / 2);
  EXPECT_LT(std::max_element(down.begin(), down.end()) - down.begin(), kCell / 2);
}

TEST(PreviewTest, BorderingTouchesTheCharacterFillTakesTheRestLowHalvesBlinkDarkens) {
  const DotRenderer renderer;
  DisplayConfig config;
  config.set_title(0, 0, "\x88\x9f");  // 亜, red bordered green
  config.char_colour[0][0] = 1;
  config.border_colour[0][0] = 2;
  PreviewPage page = PreviewFromConfig(config, 0);
  const DotImage plain = renderer.Render(page);
  auto touches_red = [&](int y, int x) {
    for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, kCell - 1); ++ny)
      for (int nx = std::max(x - 1, 0); nx <= std::min(x + 1, kDotsWide - 1); ++nx)
        if (plain[ny * kDotsWide + nx] == kRed) return true;
    return false;
  };
  for (int y = 0; y < kCell; ++y) {
    for (int x = 0; x < kDotsWide; ++x) {
      const Rgb dot = plain[y * kDotsWide + x];
      EXPECT_EQ(dot, dot == kRed ? kRed : touches_red(y, x) ? kGreen : kDark) << y << "," << x;
    }
  }
  EXPECT_GT(std::count(plain.begin(), plain.end(), kGreen), 0);
  EXPECT_EQ(Lit(plain), Lit(Cell(plain, 0, 0)) + Lit(Cell(plain, 0, 1)));

  page.lines[0].fill = true;
  const DotImage filled = renderer.Render(page);
  for (int i = 0; i < kDotsWide * kCell; ++i)
    EXPECT_EQ(filled[i], plain[i] == kRed ? kRed : kGreen) << i;
  page.low = true;
  const DotImage low = renderer.Render(page);
  for (std::size_t i = 0; i < low.size(); ++i)
    EXPECT_EQ(low[i], (Rgb{static_cast<std::uint8_t>(filled[i].r / 2),
                           static_cast<std::uint8_t>(filled[i].g / 2), filled[i].b}));

  page.lines[0].blink = 1;
  EXPECT_EQ(renderer.Render(page, 499), low);
  EXPECT_EQ(Lit(renderer.Render(page, 500)), 0);
  EXPECT_EQ(renderer.Render(page, 1000), low);
  for (int mode = 1; mode <= 4; ++mode) {
    EXPECT_TRUE(BlinkLit(mode, 0)) << mode;
    int dark = 0;
    for (int ms = 0; ms < 2000; ms += 50) dark += !BlinkLit(mode, ms);
    EXPECT_GT(dark, 0) << mode;
    EXPECT_LT(dark, 40) << mode;
  }
  EXPECT_TRUE(BlinkLit(0, 500));
}

TEST(PreviewTest, EveryCharacterTheBoardWouldRefuseIsHatchedRed) {
  DisplayConfig config;
  config.set_title(3, 0, "ABCD\x82\xa0");                 // two half-width pairs, then あ
  config.set_title(3, 1, "A\x82\xa0");                    // odd: nothing of the line can be sent
  config.set_title(3, 2, std::string(28, '\x88') + "A");  // too long
  config.fill_mask[3] = 0x10;
  config.char_level[3] = 0;
  const PreviewPage page = PreviewFromConfig(config, 3);
  for (int k = 0; k < kTitleCodes; ++k)
    EXPECT_EQ(page.refused[k], k < 2 || (k >= kCodesPerLine && k < 3 * kCodesPerLine)) << k;
  EXPECT_EQ(page.codes[2], 0x2422);
  EXPECT_EQ(page.codes[3], 0x2121);
  for (int l = 0; l < kLines; ++l) EXPECT_EQ(page.lines[l].fill, l == 4) << l;
  EXPECT_TRUE(page.low);
  // The mark ignores the line's colours and level, so it never passes for text.
  const DotImage image = DotRenderer().Render(page);
  for (int c = 0; c < 2; ++c) {
    const std::vector<Rgb> cell = Cell(image, 0, c);
    EXPECT_GT(std::count(cell.begin(), cell.end(), kRed), 0);
    EXPECT_EQ(
        std::count(cell.begin(), cell.end(), kRed) + std::count(cell.begin(), cell.end(), kDark),
        kCell * kCell);
  }
}

TEST(PreviewTest, AMissingFontIsOneWarningLineAndHollowBoxes) {
  DisplayConfig config;
  config.set_title(0, 0, "\x88\x9f\x81\xad");  // 亜, and a code neither font has
  const PreviewPage page = PreviewFromConfig(config, 0);
  setenv("QRV470KSE_DOT_FONT", "/nonexistent/shnmk16.pcf.gz", 1);
  const DotRenderer fallback_only;
  setenv("QRV470KSE_DOT_FALLBACK_FONT", "/nonexistent/unifont.pcf.gz", 1);
  const DotRenderer none;
  unsetenv("QRV470KSE_DOT_FONT");
  unsetenv("QRV470KSE_DOT_FALLBACK_FONT");
  EXPECT_NE(fallback_only.warning().find("/nonexistent/shnmk16.pcf.gz: No such file"),
            std::string::npos);
  EXPECT_EQ(none.warning().find('\n'), std::string::npos);
  EXPECT_NE(none.warning().find("unifont.pcf.gz"), std::string::npos);
  const DotImage boxes = none.Render(page);
  EXPECT_NE(Cell(fallback_only.Render(page), 0, 0), Cell(boxes, 0, 1));
  EXPECT_EQ(Cell(boxes, 0, 0), Cell(boxes, 0, 1));
  EXPECT_EQ(Cell(boxes, 0, 0), Cell(DotRenderer().Render(page), 0, 1));
}

TEST(PreviewTest, TheClientWritesThePageAsDrawnAtItsScale) {
  ScratchFolder dir;
  DisplayConfig config;
  config.set_title(1, 0, "\x88\x9f");
  config.char_colour[1][0] = 1;
  config.border_colour[1][0] = 2;
  config.fill_mask[1] = 1;
  const std::string file = dir.Save("one.dat", config);
  const DotImage dots = DotRenderer().Render(PreviewFromConfig(config, 1));
  for (int scale : {1, 3}) {
    const std::string png = dir / (std::to_string(scale) + ".png");
    const CliRun run =
        RunClient({"preview", file, "--page", "2", "--scale", std::to_string(scale), "-o", png});
    ASSERT_EQ(run.status, 0) << run.err;
    const Picture picture = ReadPng(png);
    ASSERT_EQ(picture.width, kDotsWide * scale);
    ASSERT_EQ(picture.height, kDotsHigh * scale);
    for (int y = 0; y < picture.height; ++y)
      for (int x = 0; x < picture.width; ++x)
        ASSERT_EQ(picture.pixels[y * picture.width + x], dots[y / scale * kDotsWide + x / scale]);
  }
  EXPECT_EQ(dots[kDotsWide - 1], kGreen);  // the fill, at the line's far end
  EXPECT_EQ(dots[kCell * kDotsWide], kDark);
  const CliRun all = RunClient({"preview", file, "--all", "--scale", "1", "-o", dir / "all.png"});
  EXPECT_EQ(all.status, 0) << all.err;
  EXPECT_GT(ReadPng(dir / "all.png").width, 4 * kDotsWide);
}

}  // namespace
}  // namespace qrv
