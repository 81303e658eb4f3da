#pragma once

#include <cstdint>

namespace qrv {

// One double-byte unit of code page 932 (lead byte * 256 + trail byte) to its JIS X 0208
// code, as the board takes it. Returns 0 for a unit the board cannot show: single-byte
// characters, user-defined characters, IBM extensions without a mapped form, codes outside
// rows 1..94. IBM extension kanji are taken by way of their NEC-selected form.
std::uint16_t SjisToJis(unsigned unit);

// A JIS X 0208 code (row * 256 + cell) back to code page 932, lead byte in the high byte.
// Returns 0 when the row or cell lies outside 0x21..0x7E.
std::uint16_t JisToSjis(int code);

}  // namespace qrv
