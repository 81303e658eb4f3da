#pragma once

#include <bitset>
#include <optional>
#include <string>
#include <string_view>

#include "display_config.h"

namespace qrv {

// A page number as the operator writes it, 1..32.
std::optional<int> ParsePageNumber(std::string_view text);
// Page numbers and rising ranges, "2,5,30-32", as page indexes; nothing when a part is
// neither, with that part in bad.
std::optional<std::bitset<kPages>> ParsePageList(std::string_view text, std::string* bad);

}  // namespace qrv
