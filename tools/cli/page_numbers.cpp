#include "page_numbers.h"

#include "value_range.h"

namespace qrv {

std::optional<int> ParsePageNumber(std::string_view text) {
  return ParseValueIn(text, kPageNumberRange);
}

std::optional<std::bitset<kPages>> ParsePageList(std::string_view text, std::string* bad) {
  std::bitset<kPages> pages;
  for (std::size_t start = 0;;) {
    const std::size_t comma = text.find(',', start);
    const std::string_view part = text.substr(start, comma - start);
    const std::size_t dash = part.find('-');
    const auto first = ParsePageNumber(part.substr(0, dash));
    const auto last = dash == part.npos ? first : ParsePageNumber(part.substr(dash + 1));
    if (!first || !last || *first > *last) {
      *bad = std::string(part);
      return std::nullopt;
    }
    for (int page = *first; page <= *last; ++page) pages.set(static_cast<std::size_t>(page - 1));
    if (comma == std::string_view::npos) return pages;
    start = comma + 1;
  }
}

}  // namespace qrv
