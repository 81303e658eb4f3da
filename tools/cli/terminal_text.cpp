#include <cstdio>

#include "cp932_utf8.h"
#include "terminal_text.h"

namespace qrv {

std::string TerminalText(std::string_view cp932) {
  // Control bytes from a file must not reach the terminal as escape sequences.
  return Utf8FromCp932(cp932, [](unsigned char byte) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "<%02x>", byte);
    return std::string(hex);
  });
}

}  // namespace qrv
