#include "template_dialog.h"

#include "resource_ids.h"

namespace qrv {

TemplateDialog::TemplateDialog(int template_id, const QString& title, int width, int height,
                               QWidget* owner)
    : QDialog(owner), template_id_(template_id), units_(DialogFont()) {
  setWindowTitle(title);
  setFont(DialogFont());
  setProperty("templateId", template_id);
  // Caption and system menu only: no help button, no resizing.
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  units_.SizeDialog(this, width, height);
}

void TemplateDialog::reject() {
  done(ids::kCancel);
}

}  // namespace qrv
