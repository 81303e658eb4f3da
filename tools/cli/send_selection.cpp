#include "send_selection.h"

namespace qrv {

std::optional<std::bitset<kSendKinds>> ParseSendKinds(std::string_view text, std::string* bad) {
  std::bitset<kSendKinds> kinds;
  for (std::size_t start = 0;;) {
    const std::size_t comma = text.find(',', start);
    const std::string_view part = text.substr(start, comma - start);
    std::size_t kind = 0;
    while (kind < kSendKindNames.size() && part != kSendKindNames[kind]) ++kind;
    if (kind == kSendKindNames.size()) {
      *bad = std::string(part);
      return std::nullopt;
    }
    kinds.set(kind);
    if (comma == std::string_view::npos) return kinds;
    start = comma + 1;
  }
}

}  // namespace qrv
