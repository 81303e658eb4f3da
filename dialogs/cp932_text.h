#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace qrv {

// Title lines are held as code page 932 bytes and shown as Unicode, through the one
// conversion the CSV files and the client use.
QString DecodeCp932(std::string_view bytes);

struct Cp932Text {
  std::string bytes;  // the characters code page 932 holds
  QString refused;    // the characters it lacks, each once, in order of appearance
  int refused_count = 0;
};

// A character counts as held only when it comes back unchanged from its bytes, so nothing is
// ever stored as a look-alike or a '?'. The few JIS characters that Unicode names twice (the
// wave dash, the minus sign...) are taken in either form. Control characters are refused: a
// NUL would cut the line short.
Cp932Text EncodeCp932(const QString& text);

}  // namespace qrv
