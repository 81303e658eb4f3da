#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qrv {

constexpr int kPages = 32;
constexpr int kLines = 7;
// A title slot holds at most 29 bytes of code page 932 text and its NUL.
constexpr int kTitleSlotBytes = 30;
constexpr int kTitleMaxBytes = kTitleSlotBytes - 1;
// What one line may hold to be sent: 14 full-width characters.
constexpr int kTitleLineBytes = 28;
constexpr int kFileNameBytes = 8192;
// current_page value that stands for "Auto" in the display page choice.
constexpr int kAutoPage = 32;
constexpr int kColourBlank = 8;
// The colour codes as the operator reads them (UTF-8); index = code.
constexpr std::array<std::string_view, 9> kColourNames = {
    "黒", "赤", "緑", "黄", "青", "マゼンタ", "シアン", "白", "ブランク"};
// The character levels by name; index = level.
constexpr std::array<std::string_view, 2> kLevelNames = {"Low", "High"};

template <typename T>
using PerPage = std::array<T, kPages>;
template <typename T>
using PerLine = std::array<std::array<T, kLines>, kPages>;
using TitleSlot = std::array<char, kTitleSlotBytes>;

// The whole configuration of one board, plus the document state and the values that
// only a board's answers fill in.
struct DisplayConfig {
  // Edited by the dialogs, sent to the board and kept in .dat files.
  PerLine<TitleSlot> title_text{};
  PerLine<std::int32_t> char_colour{};
  PerLine<std::int32_t> border_colour{};
  PerLine<std::int32_t> blink{};
  PerPage<std::int32_t> fill_mask{};
  PerPage<std::int32_t> char_level{};
  PerPage<std::int32_t> display_time{};
  std::int32_t position_h = 0;
  std::int32_t position_v = 0;
  std::int32_t current_page = 0;
  std::int32_t display_page_auto = 0;
  std::int32_t display_on = 0;  // never saved; only start-up zeroes it

  // Document state.
  std::array<char, kFileNameBytes> file_name{};
  std::int32_t modified = 0;

  // Kept only from board answers; nothing sends or saves them.
  std::array<std::int32_t, 8> assign_table{};
  std::int32_t adt_value = 0;
  std::int32_t aic_flag = 0;
  std::int32_t am_flag = 0;
  std::int32_t ar_flag = 0;
  std::int32_t ci_flag = 0;
  std::int32_t rm_mode = 0;
  PerPage<std::array<std::int32_t, 4>> schedule_page{};
  PerPage<std::array<std::int32_t, 4>> schedule_time{};
  std::int32_t tsd_mode = 0;
  std::int32_t tsr_value = 0;

  DisplayConfig() { reset_to_defaults(); }

  // Every field but display_on to its start value.
  void reset_to_defaults();

  // Line's part of its page's fill: bit line of fill_mask.
  bool fill(int page, int line) const { return (fill_mask[page] >> line & 1) != 0; }
  void set_fill(int page, int line, bool on) {
    fill_mask[page] = on ? fill_mask[page] | 1 << line : fill_mask[page] & ~(1 << line);
  }

  // The text of one title line, up to its NUL.
  std::string_view title(int page, int line) const;
  // Stores text into a title slot, cut to 29 bytes without leaving half a double-byte
  // character at the end.
  void set_title(int page, int line, std::string_view text);

  std::string_view file_name_text() const;
  // False, and nothing stored, when the path does not fit.
  bool set_file_name(std::string_view path);
};

// The one configuration the program works on.
DisplayConfig& ProcessDisplayConfig();

// Lead byte of a double-byte character in code page 932.
inline bool IsSjisLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The white space of C's scanf in the "C" locale: what separates the words of a .dat file.
constexpr bool IsFileSpace(int c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// A title as it is stored: each white-space byte (a half-width space, a tab) as the
// full-width space, which the board shows alike and which a .dat file can hold. Every
// place that takes a line applies it, so that the 28-byte rule sees what will be stored.
std::string StoredTitle(std::string_view cp932);

// Length of the longest prefix of text that is at most limit bytes and does not end
// inside a double-byte character.
std::size_t SjisPrefixLength(std::string_view text, std::size_t limit);

}  // namespace qrv
