#pragma once

#include <array>
#include <bitset>
#include <optional>
#include <string>
#include <string_view>

#include "display_config.h"

namespace qrv {

// What a send puts out, one kind per setting dialog.
enum class SendKind { kTitles, kFill, kLevel, kColours, kBlink, kPage, kTime, kPosition };
constexpr int kSendKinds = 8;
// Their names on the command line, in the order of SendKind.
constexpr std::array<const char*, kSendKinds> kSendKindNames = {
    "titles", "fill", "level", "colours", "blink", "page", "time", "position"};

// The pages and kinds of a send; everything unless narrowed.
struct SendSelection {
  std::bitset<kPages> pages;  // page indexes
  std::bitset<kSendKinds> kinds;
  bool pages_given = false;  // --page narrowed the pages: fill then goes page by page

  SendSelection() {
    pages.set();
    kinds.set();
  }
  bool Has(SendKind kind) const { return kinds.test(static_cast<std::size_t>(kind)); }
  bool whole() const { return !pages_given && kinds.all(); }
};

// Comma-separated kinds, "titles,colours"; nothing when a part is none, with that part in bad.
std::optional<std::bitset<kSendKinds>> ParseSendKinds(std::string_view text, std::string* bad);

}  // namespace qrv
