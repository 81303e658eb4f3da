#include <iconv.h>

#include <cstdio>

#include "display_config.h"
#include "terminal_text.h"

namespace qrv {

std::string TerminalText(std::string_view cp932) {
  const iconv_t converter = iconv_open("UTF-8", "CP932");
  std::string out;
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::string(cp932);
  char buffer[8];
  while (!cp932.empty()) {
    // One character at a time, so a byte that does not decode costs only itself.
    const auto first = static_cast<unsigned char>(cp932[0]);
    const std::size_t width = cp932.size() > 1 && IsSjisLeadByte(first) ? 2 : 1;
    char* in = const_cast<char*>(cp932.data());
    std::size_t in_left = width;
    char* to = buffer;
    std::size_t to_left = sizeof buffer;
    // Control bytes from a file must not reach the terminal as escape sequences.
    const bool control = first < 0x20 || first == 0x7f;
    if (control || iconv(converter, &in, &in_left, &to, &to_left) == static_cast<std::size_t>(-1)) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "<%02x>", static_cast<unsigned char>(cp932[0]));
      out += hex;
      cp932.remove_prefix(1);
      iconv(converter, nullptr, nullptr, nullptr, nullptr);
      continue;
    }
    out.append(buffer, static_cast<std::size_t>(to - buffer));
    cp932.remove_prefix(width);
  }
  iconv_close(converter);
  return out;
}

}  // namespace qrv
