#include "dot_renderer.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "cp932_utf8.h"
#include "sjis_jis.h"
#include "text_format.h"
#include "translation.h"

namespace qrv {
namespace {

constexpr int kCell = 16;
constexpr int kAscent = 14;
constexpr int kJisSide = 94;  // rows and cells 0x21..0x7E
constexpr char kJisFont[] = "/usr/share/fonts/X11/misc/shnmk16.pcf.gz";
constexpr char kFallbackFont[] = "/usr/share/fonts/X11/misc/unifont.pcf.gz";

// One cell's dots, a row a number, column 0 in the highest bit.
using Glyph = std::array<std::uint16_t, kCell>;
constexpr std::uint16_t kLeftDot = 0x8000;

constexpr Glyph HollowBox() {
  Glyph box{};
  for (auto& row : box) row = kLeftDot | 1;
  box[0] = box[kCell - 1] = 0xFFFF;
  return box;
}
constexpr Glyph kHollowBox = HollowBox();

// The board's colours by number; 8 (blank) and anything else lights nothing.
constexpr Rgb kColours[] = {{0, 0, 0},   {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                            {0, 0, 255}, {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
constexpr Rgb kDark{};
constexpr Rgb kRefusedMark{255, 0, 0};

bool Lights(int colour) {
  return colour >= 0 && colour < static_cast<int>(std::size(kColours));
}

struct BlinkPhase {
  long long period, on;
};
constexpr BlinkPhase kBlinkPhases[] = {{1000, 500}, {500, 250}, {1000, 750}, {1000, 250}};

std::string FontPath(const char* variable, const char* fallback) {
  const char* chosen = std::getenv(variable);
  return chosen != nullptr && *chosen != '\0' ? chosen : fallback;
}

}  // namespace

bool BlinkLit(int mode, long long ms) {
  if (mode < 1 || mode > static_cast<int>(std::size(kBlinkPhases))) return true;
  const BlinkPhase& phase = kBlinkPhases[mode - 1];
  long long at = ms % phase.period;
  if (at < 0) at += phase.period;
  return at < phase.on;
}

struct DotRenderer::Fonts {
  FT_Library library = nullptr;
  FT_Face jis = nullptr;
  FT_Face unicode = nullptr;
  std::string warning;
  // FreeType faces are not for two threads at once; the cache fills as pages come.
  std::mutex turn;
  std::vector<Glyph> glyphs = std::vector<Glyph>(kJisSide * kJisSide);
  std::vector<bool> known = std::vector<bool>(kJisSide * kJisSide);

  // cannot_open names the font's role: "cannot open the JIS dot font {1}: {2}".
  FT_Face Open(const std::string& path, const char* cannot_open) {
    std::string reason;
    FT_Face face = nullptr;
    // FreeType's own error for a missing file says less than the system's.
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
      std::fclose(file);
      if (library == nullptr) {
        reason = Tr("FreeType did not start");
      } else if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
        face = nullptr;
        reason = Tr("not a font FreeType reads");
      }
    } else {
      reason = std::strerror(errno);
    }
    if (face != nullptr && face->num_fixed_sizes > 0) {
      FT_Select_Size(face, 0);
    } else if (face != nullptr) {
      FT_Set_Pixel_Sizes(face, kCell, kCell);
    }
    if (face == nullptr) Warn(Format(Tr(cannot_open), {path, reason}));
    return face;
  }

  void Warn(const std::string& text) { warning += (warning.empty() ? "" : "; ") + text; }

  // Whether face has ch (in its selected charmap), and its dots.
  static bool Load(FT_Face face, FT_ULong ch, Glyph& glyph) {
    const FT_UInt index = face != nullptr ? FT_Get_Char_Index(face, ch) : 0;
    if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0)
      return false;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph = {};
    for (int y = 0; y < static_cast<int>(bitmap.rows); ++y) {
      const int row = kAscent - slot->bitmap_top + y;
      if (row < 0 || row >= kCell) continue;
      const unsigned char* bits = bitmap.buffer + y * bitmap.pitch;
      for (int x = 0; x < static_cast<int>(bitmap.width); ++x) {
        const int column = slot->bitmap_left + x;
        const bool lit = bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? (bits[x / 8] & 0x80 >> x % 8)
                                                                 : bits[x] >= 0x80;
        if (lit && column >= 0 && column < kCell) glyph[row] |= kLeftDot >> column;
      }
    }
    return true;
  }

  // The Unicode character of a JIS code through code page 932, 0 when there is none.
  char32_t Unicode(int code) {
    const std::uint16_t sjis = JisToSjis(code);
    if (sjis == 0) return 0;
    const char bytes[2] = {static_cast<char>(sjis >> 8), static_cast<char>(sjis & 0xFF)};
    // Both bytes as one character, or none: a pair that is no character is not its halves.
    const std::optional<std::string> utf8 = Utf8FromCp932Text({bytes, 2}, nullptr);
    const std::optional<std::u32string> points =
        utf8 ? CodePointsFromUtf8(*utf8, nullptr) : std::nullopt;
    return points && points->size() == 1 ? (*points)[0] : 0;
  }

  const Glyph& Find(int code) {
    const int row = code / 256 - 0x21, cell = code % 256 - 0x21;
    if (row < 0 || row >= kJisSide || cell < 0 || cell >= kJisSide) return kHollowBox;
    const int at = row * kJisSide + cell;
    if (!known[at]) {
      known[at] = true;
      if (!Load(jis, code, glyphs[at])) {
        const char32_t ch = unicode != nullptr ? Unicode(code) : 0;
        if (ch == 0 || !Load(unicode, ch, glyphs[at])) glyphs[at] = kHollowBox;
      }
    }
    return glyphs[at];
  }
};

DotRenderer::DotRenderer() : fonts_(std::make_unique<Fonts>()) {
  Fonts& f = *fonts_;
  if (FT_Init_FreeType(&f.library) != 0) f.library = nullptr;
  const std::string jis = FontPath("QRV470KSE_DOT_FONT", kJisFont);
  f.jis = f.Open(jis, QRV_TEXT("cannot open the JIS dot font {1}: {2}"));
  // The JIS font's one charmap is indexed by the JIS code itself.
  if (f.jis != nullptr && (f.jis->num_charmaps < 1 || FT_Set_Charmap(f.jis, f.jis->charmaps[0]))) {
    f.jis = nullptr;
    f.Warn(Format(Tr("the JIS dot font {1} has no character map"), {jis}));
  }
  const std::string fallback = FontPath("QRV470KSE_DOT_FALLBACK_FONT", kFallbackFont);
  f.unicode = f.Open(fallback, QRV_TEXT("cannot open the fallback dot font {1}: {2}"));
  if (f.unicode != nullptr && FT_Select_Charmap(f.unicode, FT_ENCODING_UNICODE) != 0) {
    f.unicode = nullptr;
    f.Warn(Format(Tr("the fallback dot font {1} has no Unicode character map"), {fallback}));
  }
  if (!f.warning.empty())
    f.warning = Format(Tr("{1}; characters without a font are drawn as hollow boxes"), {f.warning});
}

DotRenderer::~DotRenderer() {
  // Frees the faces too.
  if (fonts_->library != nullptr) FT_Done_FreeType(fonts_->library);
}

const std::string& DotRenderer::warning() const {
  return fonts_->warning;
}

DotImage DotRenderer::Render(const PreviewPage& page, long long ms) const {
  std::array<Glyph, kTitleCodes> cells;
  {
    const std::lock_guard<std::mutex> turn(fonts_->turn);
    for (int k = 0; k < kTitleCodes; ++k)
      cells[k] = page.refused[k] ? Glyph{} : fonts_->Find(page.codes[k]);
  }
  DotImage image(kDotsWide * kDotsHigh);
  auto level = [&](int colour) {
    const Rgb dot = Lights(colour) ? kColours[colour] : kDark;
    if (!page.low) return dot;
    return Rgb{static_cast<std::uint8_t>(dot.r / 2), static_cast<std::uint8_t>(dot.g / 2),
               static_cast<std::uint8_t>(dot.b / 2)};
  };
  for (int l = 0; l < kLines; ++l) {
    const PreviewLine& line = page.lines[l];
    if (!BlinkLit(line.blink, ms)) continue;
    // The line's glyph dots with a dark dot all round, so every dot has eight neighbours and
    // none of them belongs to the next line.
    std::array<std::array<bool, kDotsWide + 2>, kCell + 2> glyph{};
    for (int c = 0; c < kCodesPerLine; ++c) {
      const Glyph& cell = cells[l * kCodesPerLine + c];
      for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) glyph[y + 1][c * kCell + x + 1] = cell[y] & kLeftDot >> x;
    }
    const Rgb character = level(line.char_colour), border = level(line.border_colour);
    for (int y = 1; y <= kCell; ++y) {
      Rgb* row = image.data() + (l * kCell + y - 1) * kDotsWide;
      for (int x = 1; x <= kDotsWide; ++x) {
        if (glyph[y][x]) {
          row[x - 1] = character;
        } else if (line.fill || glyph[y - 1][x - 1] || glyph[y - 1][x] || glyph[y - 1][x + 1] ||
                   glyph[y][x - 1] || glyph[y][x + 1] || glyph[y + 1][x - 1] || glyph[y + 1][x] ||
                   glyph[y + 1][x + 1]) {
          row[x - 1] = border;
        }
      }
    }
  }
  // Diagonal stripes, continuous across neighbouring refused cells.
  for (int k = 0; k < kTitleCodes; ++k) {
    if (!page.refused[k]) continue;
    const int top = k / kCodesPerLine * kCell, left = k % kCodesPerLine * kCell;
    for (int y = top; y < top + kCell; ++y)
      for (int x = left; x < left + kCell; ++x)
        image[y * kDotsWide + x] = (x + y) % 4 == 0 ? kRefusedMark : kDark;
  }
  return image;
}

}  // namespace qrv
