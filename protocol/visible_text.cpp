#include "visible_text.h"

#include "frame_encoding.h"

namespace qrv {

std::string VisibleText(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    if (b == '\r') {
      out += "<CR>";
    } else if (b == '\n') {
      out += "<LF>";
    } else if (b < 0x20 || b > 0x7E) {
      out += '<';
      AppendHexByte(out, b);
      out += '>';
    } else {
      out += ch;
    }
  }
  return out;
}

}  // namespace qrv
