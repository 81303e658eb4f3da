#include "line_refusal.h"

#include "messages.h"
#include "title_check.h"

namespace qrv {
namespace {

// A character of one byte: ASCII or half-width katakana, neither of which the board shows.
bool HasHalfWidth(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); i += 2) {
    if (!IsSjisLeadByte(static_cast<unsigned char>(text[i]))) return true;
  }
  return false;
}

}  // namespace

QString TitleRefusal(std::string_view title) {
  const TitleCheck why = CheckTitleLine(title);
  if (why.fault == TitleFault::kNone) return {};
  if (why.fault == TitleFault::kLineTooLong)
    return QStringLiteral("28バイトを超える行は送れません");
  if (HasHalfWidth(title)) return QStringLiteral("半角文字を含む行は送れません");
  return QStringLiteral("%1（%2文字目）")
      .arg(QString::fromUtf8(msg::kTitleRefused))
      .arg(why.column + 1);
}

QString ColourRefusal(const DisplayConfig& config, int page, int line) {
  if (config.char_colour[page][line] != kColourBlank ||
      config.border_colour[page][line] != kColourBlank)
    return {};
  return QStringLiteral("文字色と縁取り色がともにブランクの行は送れません（%1）")
      .arg(QString::fromLatin1(msg::kCantSetColour));
}

QString FirstTitleRefusal(const DisplayConfig& config, int page) {
  for (int l = 0; l < kLines; ++l) {
    const QString why = TitleRefusal(config.title(page, l));
    if (!why.isEmpty()) return QStringLiteral("%1行目: %2").arg(l + 1).arg(why);
  }
  return {};
}

}  // namespace qrv
