#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdlib>

#include "cli_runner.h"
#include "dot_renderer.h"

namespace qrv {
namespace {

constexpr Rgb kDark{}, kRed{255, 0, 0}, kGreen{0, 255, 0}, kWhite{255, 255, 255};
constexpr int kCell = 16;

std::vector<Rgb> Cell(const DotImage& image, int line, int column) {
  std::vector<Rgb> dots;
  for (int y = line * kCell; y < (line + 1) * kCell; ++y)
    for (int x = column * kCell; x < (column + 1) * kCell; ++x)
      dots.push_back(image[y * kDotsWide + x]);
  return dots;
}

int Lit(const std::vector<Rgb>& dots) {
  return static_cast<int>(
      std::count_if(dots.begin(), dots.end(), [](Rgb d) { return d != kDark; }));
}

TEST(PreviewTest, EachCharacterComesFromTheJisFontTheFallbackOrIsAHollowBox) {
  const DotRenderer renderer;
  EXPECT_EQ(renderer.warning(), "");
  // 亜, Ｆ, ① (row 13) and ⅰ (row 92), which the JIS font lacks, the full-width space, and
  // a code of row 2 that neither font has, in white with black (dark) bordering.
  const char* texts[] = {"\x88\x9f", "\x82\x65", "\x87\x40", "\xfa\x40", "\x81\x40", "\x81\xad"};
  DisplayConfig config;
  for (int l = 0; l < 6; ++l) config.set_title(0, l, texts[l]);
  const DotImage image = renderer.Render(PreviewFromConfig(config, 0));
  const std::vector<Rgb> box = Cell(image, 5, 0);
  int in_first_cells = 0;
  for (int l = 0; l < 6; ++l) in_first_cells += Lit(Cell(image, l, 0));
  EXPECT_EQ(Lit(image), in_first_cells);
  for (int l = 0; l < 4; ++l) {
    EXPECT_GT(Lit(Cell(image, l, 0)), 8) << l;
    EXPECT_NE(Cell(image, l, 0), box) << l;
  }
  EXPECT_EQ(Lit(Cell(image, 4, 0)), 0);
  EXPECT_EQ(Lit(box), 4 * kCell - 4);  // the cell's outline
  // Ｆ is not mirrored: most of it lies in the left half.
  const std::vector<Rgb> f = Cell(image, 1, 0);
  int left = 0;
  for (int i = 0; i < kCell * kCell; ++i) left += f[i] == kWhite && i % kCell < kCell / 2;
  EXPECT_GT(2 * left, Lit(f));

  // Without fonts: one warning line, and boxes.
  setenv("QRV470KSE_DOT_FONT", "/nonexistent/shnmk16.pcf.gz", 1);
  setenv("QRV470KSE_DOT_FALLBACK_FONT", "/nonexistent/unifont.pcf.gz", 1);
  const DotRenderer none;
  unsetenv("QRV470KSE_DOT_FONT");
  unsetenv("QRV470KSE_DOT_FALLBACK_FONT");
  EXPECT_NE(none.warning().find("/nonexistent/shnmk16.pcf.gz: No such file"), std::string::npos);
  EXPECT_EQ(none.warning().find('\n'), std::string::npos);
  EXPECT_EQ(Cell(none.Render(PreviewFromConfig(config, 0)), 0, 0), box);
}

TEST(PreviewTest, BorderingTouchesTheCharacterFillTakesTheRestLowHalvesBlinkDarkens) {
  const DotRenderer renderer;
  DisplayConfig config;
  config.set_title(0, 0, "\x88\x9f");  // 亜 red, bordered green
  config.char_colour[0][0] = 1;
  config.border_colour[0][0] = 2;
  PreviewPage page = PreviewFromConfig(config, 0);
  const DotImage plain = renderer.Render(page);
  for (int i = 0; i < kCell * kDotsWide; ++i) {
    bool touches = false;
    for (int n = 0; n < 9; ++n) {
      const int y = i / kDotsWide + n / 3 - 1, x = i % kDotsWide + n % 3 - 1;
      touches |= y >= 0 && y < kCell && x >= 0 && x < kDotsWide && plain[y * kDotsWide + x] == kRed;
    }
    EXPECT_EQ(plain[i], plain[i] == kRed ? kRed : touches ? kGreen : kDark) << i;
  }

  page.lines[0].fill = true;
  const DotImage filled = renderer.Render(page);
  for (int i = 0; i < kCell * kDotsWide; ++i)
    EXPECT_EQ(filled[i], plain[i] == kRed ? kRed : kGreen) << i;
  page.low = true;
  const DotImage low = renderer.Render(page);
  for (std::size_t i = 0; i < low.size(); ++i)
    EXPECT_TRUE(low[i].r == filled[i].r / 2 && low[i].g == filled[i].g / 2) << i;
  page.lines[0].blink = 1;  // 500 ms on, 500 ms off
  EXPECT_EQ(renderer.Render(page, 499), low);
  EXPECT_EQ(Lit(renderer.Render(page, 500)), 0);
  for (int mode = 0; mode <= 4; ++mode) EXPECT_TRUE(BlinkLit(mode, 0)) << mode;
}

TEST(PreviewTest, EveryCharacterTheBoardWouldRefuseIsHatchedRed) {
  DisplayConfig config;
  config.set_title(3, 0, "ABCD\x82\xa0");                 // two half-width pairs, then あ
  config.set_title(3, 1, "A\x82\xa0");                    // odd: nothing of the line goes
  config.set_title(3, 2, std::string(28, '\x88') + "A");  // too long
  config.fill_mask[3] = 0x10;
  config.char_level[3] = 0;
  const PreviewPage page = PreviewFromConfig(config, 3);
  for (int k = 0; k < kTitleCodes; ++k)
    EXPECT_EQ(page.refused[k], k < 2 || (k >= kCodesPerLine && k < 3 * kCodesPerLine)) << k;
  EXPECT_EQ(page.codes[2], 0x2422);
  for (int l = 0; l < kLines; ++l) EXPECT_EQ(page.lines[l].fill, l == 4) << l;
  EXPECT_TRUE(page.low);
  // Red stripes whatever the line's colours and level, so the mark never passes for text.
  const std::vector<Rgb> cell = Cell(DotRenderer().Render(page), 0, 1);
  const auto red = std::count(cell.begin(), cell.end(), kRed);
  EXPECT_GT(red, 0);
  EXPECT_EQ(red + std::count(cell.begin(), cell.end(), kDark), kCell * kCell);
}

TEST(PreviewTest, TheClientWritesThePageAsDrawnAtItsScale) {
  ScratchFolder dir;
  DisplayConfig config;
  config.set_title(1, 0, "\x88\x9f");
  const std::string file = dir.Save("one.dat", config), png = dir / "page.png";
  const DotImage dots = DotRenderer().Render(PreviewFromConfig(config, 1));
  for (int scale : {1, 3}) {
    const std::string k = std::to_string(scale);
    ASSERT_EQ(RunClient({"preview", file, "--page", "2", "--scale", k, "-o", png}).status, 0);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, png.c_str()));
    image.format = PNG_FORMAT_RGB;
    std::vector<Rgb> got(PNG_IMAGE_SIZE(image) / 3);
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, got.data(), 0, nullptr));
    ASSERT_EQ(image.width, static_cast<unsigned>(kDotsWide * scale));
    ASSERT_EQ(image.height, static_cast<unsigned>(kDotsHigh * scale));
    for (std::size_t i = 0; i < got.size(); ++i)
      ASSERT_EQ(got[i], dots[i / image.width / scale * kDotsWide + i % image.width / scale]);
  }
  EXPECT_EQ(RunClient({"preview", file, "--all", "-o", dir / "all.png"}).status, 0);
}

}  // namespace
}  // namespace qrv
