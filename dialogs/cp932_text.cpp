#include "cp932_text.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace qrv {
namespace {

constexpr char kCodec[] = "windows-31j";

// Characters of JIS X 0208 that Unicode also names by the JIS mapping, as input methods
// outside Windows produce them, and the form code page 932 maps: the same character.
QString CodePage932Form(QString character) {
  static const struct {
    char16_t jis, cp932;
  } kForms[] = {
      {u'\u301C', u'\uFF5E'},  // WAVE DASH
      {u'\u2016', u'\u2225'},  // DOUBLE VERTICAL LINE
      {u'\u2212', u'\uFF0D'},  // MINUS SIGN
      {u'\u00A2', u'\uFFE0'},  // CENT SIGN
      {u'\u00A3', u'\uFFE1'},  // POUND SIGN
      {u'\u00AC', u'\uFFE2'},  // NOT SIGN
      {u'\u2014', u'\u2015'},  // EM DASH
  };
  if (character.size() == 1) {
    for (const auto& form : kForms) {
      if (character[0] == QChar(form.jis)) return QString(QChar(form.cp932));
    }
  }
  return character;
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
