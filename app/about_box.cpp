#include "about_box.h"

#include <QLabel>
#include <QPushButton>

#include "app_icon.h"
#include "resource_ids.h"

namespace qrv {

AboutBox::AboutBox(QWidget* owner)
    : TemplateDialog(ids::kAboutTemplate, QStringLiteral("QRV470KSEのﾊﾞｰｼﾞｮﾝ情報"), 179, 55,
                     owner) {
  auto* icon = new QLabel(this);
  icon->setPixmap(AppIconPixmap());
  icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  units().Place(icon, 11, 17, 20, 20);
  auto* version = new QLabel(QStringLiteral("QRV470KSE Version 1.01"), this);
  version->setObjectName(QStringLiteral("version"));
  units().Place(version, 45, 10, 85, 8);
  auto* ok = Named(new QPushButton(QStringLiteral("OK"), this), "ok", ids::kOk);
  ok->setDefault(true);
  units().Place(ok, 122, 21, 50, 14);
  connect(ok, &QPushButton::clicked, this, [this] { done(ids::kOk); });
}

}  // namespace qrv
