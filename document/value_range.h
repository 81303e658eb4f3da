#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

#include "display_config.h"

namespace qrv {

// The values one kind of setting takes, first to last. The dialogs offer exactly these,
// the board takes no others, and a file holding any other is reported.
struct ValueRange {
  int first;
  int last;
  constexpr bool Holds(std::int64_t value) const { return value >= first && value <= last; }
  constexpr int size() const { return last - first + 1; }
};

constexpr ValueRange kColourRange{0, kColourBlank};  // eight colours, then blank
constexpr ValueRange kBlinkRange{0, 4};              // steady, then four blink modes
constexpr ValueRange kFillMaskRange{0, 0x7F};        // one bit a line; there is no eighth
constexpr ValueRange kCharLevelRange{0, 1};          // Low, High
constexpr ValueRange kDisplayTimeRange{0, 99};       // seconds, two digits on the board
constexpr ValueRange kPositionRange{0, 15};          // fine adjustment steps
constexpr ValueRange kCurrentPageRange{0, kAutoPage};
constexpr ValueRange kAutoFlagRange{0, 1};
// A page as the operator counts them, on the command line and in messages.
constexpr ValueRange kPageNumberRange{1, kPages};

// A whole number of range written as the whole of text, in decimal without a sign; nothing
// otherwise.
inline std::optional<int> ParseValueIn(std::string_view text, ValueRange range) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, fault] = std::from_chars(text.data(), end, value);
  if (text.empty() || text[0] == '-' || fault != std::errc() || stop != end || !range.Holds(value))
    return std::nullopt;
  return value;
}

static_assert(kColourNames.size() == static_cast<std::size_t>(kColourRange.size()));

}  // namespace qrv
