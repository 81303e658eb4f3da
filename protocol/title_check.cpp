#include "title_check.h"

#include <cstdio>

#include "sjis_jis.h"
#include "text_format.h"
#include "translation.h"

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
      return Format(Tr("{1} bytes, more than {2}"),
                    {std::to_string(line.size()), std::to_string(kTitleLineBytes)});
    case TitleFault::kOddLength:
      return Format(Tr("odd number of bytes ({1}): a half-width character"),
                    {std::to_string(line.size())});
    case TitleFault::kRefusedCharacter: {
      char unit[8];
      std::snprintf(unit, sizeof unit, "%04X", why.unit);
      return Format(Tr("character {1} (Shift_JIS {2}) is not in JIS levels 1 and 2"),
                    {std::to_string(why.column + 1), unit});
    }
    case TitleFault::kNone:
      break;
  }
  return {};
}

}  // namespace qrv
