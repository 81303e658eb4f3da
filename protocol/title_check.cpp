#include "title_check.h"

#include <cstdio>

#include "sjis_jis.h"

namespace qrv {

TitleCheck CheckTitleLine(std::string_view cp932) {
  if (cp932.size() > static_cast<std::size_t>(kTitleLineBytes))
    return {TitleFault::kLineTooLong, 0};
  if (cp932.size() % 2 != 0) return {TitleFault::kOddLength, 0};
  // The padding ComposeTitlePage adds is full-width spaces, which always convert.
  for (std::size_t i = 0; i < cp932.size(); i += 2) {
    const unsigned unit =
        static_cast<unsigned char>(cp932[i]) * 256u + static_cast<unsigned char>(cp932[i + 1]);
    if (SjisToJis(unit) == 0)
      return {TitleFault::kRefusedCharacter, 0, static_cast<int>(i / 2), unit};
  }
  return {};
}

std::string TitleFaultText(std::string_view line, const TitleCheck& why) {
  switch (why.fault) {
    case TitleFault::kLineTooLong:
      return std::to_string(line.size()) + " bytes, more than " + std::to_string(kTitleLineBytes);
    case TitleFault::kOddLength:
      return "odd number of bytes (" + std::to_string(line.size()) + "): a half-width character";
    case TitleFault::kRefusedCharacter: {
      char unit[8];
      std::snprintf(unit, sizeof unit, "%04X", why.unit);
      return "character " + std::to_string(why.column + 1) + " (Shift_JIS " + unit +
             ") is not in JIS levels 1 and 2";
    }
    case TitleFault::kNone:
      break;
  }
  return {};
}

}  // namespace qrv
