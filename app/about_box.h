#pragma once

#include "template_dialog.h"

namespace qrv {

// "QRV470KSEのﾊﾞｰｼﾞｮﾝ情報": the icon, the version, OK.
class AboutBox : public TemplateDialog {
  Q_OBJECT

 public:
  explicit AboutBox(QWidget* owner);
};

}  // namespace qrv
