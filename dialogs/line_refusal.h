#pragma once

#include <QString>
#include <string_view>

#include "display_config.h"

namespace qrv {

// Why a line's text keeps its page's titles from the board, in the operator's words
// ("半角文字を含む行は送れません"); empty when the line would go.
QString TitleRefusal(std::string_view title);
// Why a line's colours keep its page's colours from the board; empty when they would go.
QString ColourRefusal(const DisplayConfig& config, int page, int line);
// The first line of page whose text is refused, as "3行目: …"; empty when none is.
QString FirstTitleRefusal(const DisplayConfig& config, int page);

}  // namespace qrv
