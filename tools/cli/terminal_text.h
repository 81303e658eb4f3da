#pragma once

#include <string>
#include <string_view>

namespace qrv {

// Code page 932 text as UTF-8 for the terminal; control bytes and bytes that do not decode
// are shown as <xx>.
std::string TerminalText(std::string_view cp932);

}  // namespace qrv
