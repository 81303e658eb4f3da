#include "dialog_units.h"

#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QStringList>

namespace qrv {

QFont DialogFont() {
  QFont font;
  font.setFamilies({QStringLiteral("MS PGothic"), QStringLiteral("Noto Sans CJK JP"),
                    QStringLiteral("IPAPGothic"), QStringLiteral("VL PGothic")});
  font.setPointSize(9);
  return font;
}

QFont TitleFont() {
  QFont font;
  font.setFamilies({QStringLiteral("MS Gothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                    QStringLiteral("IPAGothic"), QStringLiteral("VL Gothic")});
  font.setStyleHint(QFont::Monospace);
  font.setPointSize(16);
  return font;
}

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  base_x_ = (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2;
  base_y_ = metrics.height();
}

int DialogUnits::X(int units) const {
  return (units * base_x_ + 2) / 4;
}
int DialogUnits::Y(int units) const {
  return (units * base_y_ + 4) / 8;
}

int DialogUnits::UnitsX(int pixels) const {
  return (pixels * 4 + base_x_ - 1) / base_x_;
}
int DialogUnits::UnitsY(int pixels) const {
  return (pixels * 8 + base_y_ - 1) / base_y_;
}

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
  return QRect(X(x), Y(y), X(width), Y(height));
}

void DialogUnits::SizeDialog(QDialog* dialog, int width, int height) const {
  dialog->setFixedSize(X(width), Y(height));
}

void DialogUnits::Place(QWidget* control, int x, int y, int width, int height) const {
  QRect rect = Rect(x, y, width, height);
  if (qobject_cast<QComboBox*>(control) != nullptr) {
    rect.setHeight(control->sizeHint().height());
  }
  control->setGeometry(rect);
}

}  // namespace qrv
