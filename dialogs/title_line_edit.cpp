#include "title_line_edit.h"

#include <algorithm>

#include "cp932_text.h"
#include "display_config.h"

namespace qrv {

TitleLineEdit::TitleLineEdit(int byte_limit, QWidget* parent)
    : QLineEdit(parent), byte_limit_(byte_limit) {
  // textEdited comes from the operator only; setText does not emit it.
  connect(this, &QLineEdit::textEdited, this, &TitleLineEdit::OnEdited);
}

void TitleLineEdit::Show(std::string_view bytes) {
  shown_bytes_.assign(bytes);
  shown_text_ = DecodeCp932(bytes);
  accepted_ = shown_text_;
  setText(shown_text_);
}

std::string TitleLineEdit::Bytes() const {
  if (text() == shown_text_) return shown_bytes_;
  return StoredTitle(EncodeCp932(text()).bytes);
}

void TitleLineEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  emit touched();
}

void TitleLineEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  emit touched();
}

void TitleLineEdit::OnEdited(const QString& text) {
  const Cp932Text now = EncodeCp932(text);
  // Measured as it will be stored: a half-width space takes two bytes there.
  const std::string stored = StoredTitle(now.bytes);
  const int bytes = static_cast<int>(stored.size());
  bool taken = now.refused_count == 0 && bytes <= byte_limit_;
  if (!taken && text.size() < accepted_.size()) {
    // A line read from a file may be too long or hold what code page 932 lacks; cutting it
    // down is always allowed.
    const Cp932Text before = EncodeCp932(accepted_);
    taken = bytes <= static_cast<int>(StoredTitle(before.bytes).size()) &&
            now.refused_count <= before.refused_count;
  }
  if (taken) {
    // The line shows what it stores: a half-width space becomes the full-width one as it
    // is typed, one character for one, so the cursor stays where it was.
    const QString shown = now.refused_count == 0 ? DecodeCp932(stored) : text;
    if (shown != text && shown.size() == text.size()) {
      const int cursor = cursorPosition();
      setText(shown);
      setCursorPosition(cursor);
    }
    accepted_ = this->text();
    emit touched();
    return;
  }
  const int cursor = cursorPosition() - static_cast<int>(text.size() - accepted_.size());
  setText(accepted_);
  setCursorPosition(std::clamp(cursor, 0, static_cast<int>(accepted_.size())));
  emit refused(now.refused_count > 0
                   ? QStringLiteral("「%1」は使えない文字です（コードページ932にありません）")
                         .arg(now.refused)
                   : QStringLiteral("1行は%1バイト（全角%2文字）までです")
                         .arg(byte_limit_)
                         .arg(byte_limit_ / 2));
}

}  // namespace qrv
