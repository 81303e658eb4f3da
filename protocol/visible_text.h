#pragma once

#include <string>
#include <string_view>

namespace qrv {

// Bytes of a frame or answer as a person can read them: CR and LF as <CR> <LF>, other
// control bytes and bytes above 0x7E as <xx> in hexadecimal.
std::string VisibleText(std::string_view bytes);

}  // namespace qrv
