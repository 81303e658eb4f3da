#pragma once

#include <bitset>
#include <string>

#include "display_config.h"

namespace qrv {

// What a send puts out, one kind per setting dialog.
enum class SendKind { kTitles, kFill, kLevel, kColours, kBlink, kPage, kTime, kPosition };
constexpr int kSendKinds = 8;

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

// Page numbers and ranges, "2,5,30-32", into pages; false with why in error.
bool ParsePageList(const std::string& text, SendSelection& selection, std::string* error);
// Comma-separated kinds, "titles,colours", into kinds; false with why in error.
bool ParseSendKinds(const std::string& text, SendSelection& selection, std::string* error);

}  // namespace qrv
