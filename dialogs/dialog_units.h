#pragma once

#include <QFont>
#include <QRect>

class QDialog;
class QWidget;

namespace qrv {

// The dialogs' font: a Japanese proportional gothic at 9 points, the first of the usual
// families the system has.
QFont DialogFont();
// The title lines' font: a Japanese monospace gothic at 16 points, large enough to read
// kanji, every full-width character of a line as wide as the next.
QFont TitleFont();

// Dialog templates are laid out in dialog units, which scale with the dialog's font: a
// horizontal unit is a quarter of the font's average character width, a vertical unit an
// eighth of its height. Converting them the same way keeps every text clear of its control
// whatever font the system substitutes.
class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);

  int X(int units) const;
  int Y(int units) const;
  // The units that cover at least the given pixels.
  int UnitsX(int pixels) const;
  int UnitsY(int pixels) const;
  QRect Rect(int x, int y, int width, int height) const;

  // Sizes the dialog to its template and fixes it: templates never resize.
  void SizeDialog(QDialog* dialog, int width, int height) const;
  // Places a control at its template rectangle. Drop-down lists give the height of their
  // open list in the template; they keep their own closed height here.
  void Place(QWidget* control, int x, int y, int width, int height) const;

 private:
  int base_x_;
  int base_y_;
};

}  // namespace qrv
