#pragma once

#include <QLineEdit>
#include <string>
#include <string_view>

namespace qrv {

// One title line. It takes only text that code page 932 holds, up to the line's byte limit,
// and reports every touch by the operator: a change, gaining or losing the focus. Text put in
// by the program is no touch.
class TitleLineEdit : public QLineEdit {
  Q_OBJECT

 public:
  TitleLineEdit(int byte_limit, QWidget* parent);

  // Shows a stored line.
  void Show(std::string_view bytes);
  // The line to store. While the text is still what Show put in, that is the stored line
  // itself, byte for byte, even where its decoded form would encode differently.
  std::string Bytes() const;

 signals:
  void touched();
  // Input was refused and the line kept as it was; notice says why.
  void refused(const QString& notice);

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void OnEdited(const QString& text);

  int byte_limit_;
  std::string shown_bytes_;
  QString shown_text_;
  QString accepted_;
};

}  // namespace qrv
