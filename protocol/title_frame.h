#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "display_config.h"
#include "frames.h"

namespace qrv {

constexpr int kCodesPerLine = kTitleLineBytes / 2;
constexpr int kTitleCodes = kLines * kCodesPerLine;       // 98
constexpr int kPageTextBytes = kLines * kTitleLineBytes;  // 196

// A page's seven lines, each padded with full-width spaces to 28 bytes, line 1 first.
using PageText = std::array<unsigned char, kPageTextBytes>;
using TitleCodes = std::array<std::uint16_t, kTitleCodes>;

enum class TitleFault { kNone, kLineTooLong, kOddLength, kRefusedCharacter };

// Why a page cannot be sent; line and column count from 0.
struct TitleCheck {
  TitleFault fault = TitleFault::kNone;
  int line = -1;
  int column = -1;    // the character refused
  unsigned unit = 0;  // its two bytes as one number
};

// Fails on the first line longer than 28 bytes or of odd length; text is then incomplete.
bool ComposeTitlePage(const DisplayConfig& config, int page, PageText& text,
                      TitleCheck* why = nullptr);

// The 98 JIS codes of a composed page; stops at the first unit the board cannot show.
bool ConvertTitlePage(const PageText& text, TitleCodes& codes, TitleCheck* why = nullptr);

// "CA" (store) or "CN" frame of a page from its codes.
Frame TitleTextFrame(bool store, int page, const TitleCodes& codes);

// Compose, convert and build the title frame of one page: what a title send puts on the
// line, or nothing when the page is refused.
std::optional<Frame> BuildTitleFrame(const DisplayConfig& config, int page, bool store,
                                     TitleCheck* why = nullptr);

// Stores the 98 codes of a "CA" answer as the page's seven lines: trailing full-width
// spaces dropped, codes beyond row 92 read as spaces.
void StoreTitleCodes(DisplayConfig& config, int page, const std::array<int, kTitleCodes>& codes);

}  // namespace qrv
