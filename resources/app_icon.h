#pragma once

#include <QIcon>

namespace qrv {

// "MYICON": the program's 32 x 32 icon, shown by the main window and the About box.
QIcon AppIcon();
QPixmap AppIconPixmap();

}  // namespace qrv
