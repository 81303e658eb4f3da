#pragma once

#include <QDialog>

#include "dialog_units.h"

namespace qrv {

// A modal dialog built from a template: Japanese dialog font, fixed size in dialog units,
// owned by the window it was opened from. Esc and the close box end it with result 2, as
// every dialog of the program does.
class TemplateDialog : public QDialog {
  Q_OBJECT

 public:
  TemplateDialog(int template_id, const QString& title, int width, int height, QWidget* owner);

  int template_id() const { return template_id_; }
  void reject() override;

 protected:
  const DialogUnits& units() const { return units_; }
  // Names a control after its role and records its id, so tests and tools can find it.
  template <typename Control>
  Control* Named(Control* control, const char* name, int id) {
    control->setObjectName(QString::fromLatin1(name));
    control->setProperty("controlId", id);
    return control;
  }

 private:
  int template_id_;
  DialogUnits units_;
};

}  // namespace qrv
