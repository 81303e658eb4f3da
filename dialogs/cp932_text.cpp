#include "cp932_text.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include "cp932_utf8.h"

namespace qrv {
namespace {

constexpr char kCodec[] = "windows-31j";

// The JIS mapping's forms of a few characters, as input methods outside Windows type them,
// become the forms code page 932 maps.
QString CodePage932Form(QString character) {
  if (character.size() != 1) return character;
  return QString(QChar(static_cast<char16_t>(Cp932Form(character[0].unicode()))));
}

}  // namespace

QString DecodeCp932(std::string_view bytes) {
  QStringDecoder decoder(kCodec, QStringConverter::Flag::Stateless);
  return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

Cp932Text EncodeCp932(const QString& text) {
  Cp932Text result;
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype length =
        text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
    const QString character = CodePage932Form(text.mid(i, length));
    i += length;
    // A fresh encoder per character: its error state then belongs to this character alone.
    QStringEncoder encoder(kCodec, QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(character);
    const bool control =
        length == 1 && (character[0].unicode() < 0x20 || character[0].unicode() == 0x7F);
    if (control || encoder.hasError() || bytes.isEmpty() ||
        DecodeCp932(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))) !=
            character) {
      ++result.refused_count;
      if (!result.refused.contains(character)) result.refused += character;
      continue;
    }
    result.bytes.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  }
  return result;
}

}  // namespace qrv
