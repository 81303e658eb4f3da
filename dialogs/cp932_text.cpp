#include "cp932_text.h"

#include <QList>

#include "cp932_utf8.h"

namespace qrv {

QString DecodeCp932(std::string_view bytes) {
  // A byte that is no character shows as the replacement character, as it does in a CSV.
  return QString::fromStdString(
      Utf8FromCp932(bytes, [](unsigned char) { return std::string("\xEF\xBF\xBD"); }));
}

Cp932Text EncodeCp932(const QString& text) {
  const Cp932Encoding encoded = Cp932FromUtf8(text.toStdString());
  Cp932Text result;
  result.bytes = encoded.bytes;
  for (const char32_t c : encoded.refused) result.refused += QString::fromUcs4(&c, 1);
  for (const char32_t c : text.toUcs4())
    result.refused_count += encoded.refused.find(c) != std::u32string::npos ? 1 : 0;
  return result;
}

}  // namespace qrv
