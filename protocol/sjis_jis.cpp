#include "sjis_jis.h"

namespace qrv {
namespace {

struct IbmToNec {
  unsigned first, last, subtract;
};

// IBM extension kanji and their NEC-selected equivalents in rows 89..92.
constexpr IbmToNec kIbmToNec[] = {
    {0xFA5C, 0xFA7E, 0x0D1C}, {0xFA80, 0xFA9B, 0x0D1D}, {0xFA9C, 0xFAFC, 0x0D1C},
    {0xFB40, 0xFB5B, 0x0D5F}, {0xFB5C, 0xFB7E, 0x0D1C}, {0xFB80, 0xFB9B, 0x0D1D},
    {0xFB9C, 0xFBFC, 0x0D1C}, {0xFC40, 0xFC4B, 0x0D5F},
};

unsigned NecSelected(unsigned unit) {
  for (const IbmToNec& row : kIbmToNec) {
    if (unit >= row.first && unit <= row.last) return unit - row.subtract;
  }
  return 0;
}

bool IsLead(unsigned b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool IsTrail(unsigned b) {
  return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}
bool IsJisByte(int b) {
  return b >= 0x21 && b <= 0x7E;
}

}  // namespace

std::uint16_t SjisToJis(unsigned unit) {
  // Small roman numerals and three signs have no NEC form: they sit at the end of row 92.
  if (unit >= 0xFA40 && unit <= 0xFA49) return static_cast<std::uint16_t>(unit - 0x7DCF);
  if (unit >= 0xFA55 && unit <= 0xFA57) return static_cast<std::uint16_t>(unit - 0x7DD9);
  if (unit >= 0xFA5C) unit = NecSelected(unit);

  const unsigned b1 = unit / 256;
  const unsigned b2 = unit % 256;
  if (!IsLead(b1) || !IsTrail(b2)) return 0;
  const unsigned r = b1 < 0xA0 ? b1 - 0x81 : b1 - 0xC1;
  unsigned j;
  if (b2 >= 0x9F) {
    j = r * 0x200 + 0x2200 + (b2 - 0x7E);
  } else if (b2 <= 0x7E) {
    j = r * 0x200 + 0x2100 + (b2 - 0x1F);
  } else {
    j = r * 0x200 + 0x2100 + (b2 - 0x20);
  }
  if (j < 0x2121 || j > 0x7E7E || !IsJisByte(static_cast<int>(j & 0xFF))) return 0;
  return static_cast<std::uint16_t>(j);
}

std::uint16_t JisToSjis(int code) {
  if (code < 0) return 0;
  const int r = code / 256;
  const int c = code % 256;
  if (!IsJisByte(r) || !IsJisByte(c)) return 0;
  int lead = (r - 0x21) / 2 + 0x81;
  if (lead > 0x9F) lead += 0x40;
  int trail;
  if (r % 2 == 1) {
    trail = c + 0x1F + (c >= 0x60 ? 1 : 0);
  } else {
    trail = c + 0x7E;
  }
  return static_cast<std::uint16_t>(lead * 256 + trail);
}

}  // namespace qrv
