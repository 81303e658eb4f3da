#include "app_icon.h"

#include <QPixmap>

namespace qrv {

QPixmap AppIconPixmap() {
  return QPixmap(QStringLiteral(":/myicon.xpm"));
}

QIcon AppIcon() {
  return QIcon(AppIconPixmap());
}

}  // namespace qrv
