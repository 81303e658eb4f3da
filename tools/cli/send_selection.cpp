#include "send_selection.h"

#include <array>
#include <charconv>
#include <string_view>
#include <vector>

namespace qrv {
namespace {

constexpr std::array<const char*, kSendKinds> kKindNames = {"titles", "fill", "level", "colours",
                                                            "blink",  "page", "time",  "position"};

std::vector<std::string_view> Split(std::string_view text) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t comma = text.find(',', start);
    parts.push_back(text.substr(start, comma - start));
    if (comma == std::string_view::npos) return parts;
    start = comma + 1;
  }
}

// A page number 1..32 as the whole of text.
bool PageNumber(std::string_view text, int& page) {
  const char* end = text.data() + text.size();
  const auto [stop, fault] = std::from_chars(text.data(), end, page);
  return !text.empty() && fault == std::errc() && stop == end && page >= 1 && page <= kPages;
}

bool Fail(std::string* error, std::string text) {
  *error = std::move(text);
  return false;
}

}  // namespace

bool ParsePageList(const std::string& text, SendSelection& selection, std::string* error) {
  std::bitset<kPages> pages;
  for (const std::string_view part : Split(text)) {
    const std::size_t dash = part.find('-');
    int first = 0, last = 0;
    const bool fits =
        dash == std::string_view::npos
            ? PageNumber(part, first) && PageNumber(part, last)
            : PageNumber(part.substr(0, dash), first) && PageNumber(part.substr(dash + 1), last);
    if (!fits || first > last) {
      return Fail(error, "--page takes pages 1 to 32 and ranges such as 2,5,30-32, not \"" +
                             std::string(part) + "\"");
    }
    for (int page = first; page <= last; ++page) pages.set(static_cast<std::size_t>(page - 1));
  }
  selection.pages = pages;
  selection.pages_given = true;
  return true;
}

bool ParseSendKinds(const std::string& text, SendSelection& selection, std::string* error) {
  std::bitset<kSendKinds> kinds;
  for (const std::string_view part : Split(text)) {
    std::size_t kind = 0;
    while (kind < kKindNames.size() && part != kKindNames[kind]) ++kind;
    if (kind == kKindNames.size()) {
      return Fail(error,
                  "--only takes titles, fill, level, colours, blink, page, time and "
                  "position, not \"" +
                      std::string(part) + "\"");
    }
    kinds.set(kind);
  }
  selection.kinds = kinds;
  return true;
}

}  // namespace qrv
