#pragma once

#include <QStringList>

#include "value_range.h"

namespace qrv {

// The items of the lists that choose a setting, in value order: an item's position is the
// value it stands for. The setting dialogs and the page editor offer the same.
QStringList NumberItems(int first, int last, int digits = 1);
QStringList NumberItems(ValueRange range);
QStringList ColourItems();  // "黒" .. "ブランク"
QStringList LevelItems();   // " Low", "High"

}  // namespace qrv
