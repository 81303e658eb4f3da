#pragma once

#include <string>
#include <string_view>

#include "title_frame.h"

namespace qrv {

// Why one title line would keep its page from the board, as if it stood alone on the page:
// longer than 28 bytes, of odd length, or holding a character the conversion refuses (its
// column and its two bytes). Line 0 and fault kNone when the line would go through.
TitleCheck CheckTitleLine(std::string_view cp932);

// What is wrong with line, in words: "odd number of bytes (3): a half-width character".
std::string TitleFaultText(std::string_view line, const TitleCheck& why);

}  // namespace qrv
