#include "setting_items.h"

namespace qrv {

QStringList NumberItems(int first, int last, int digits) {
  QStringList numbers;
  for (int n = first; n <= last; ++n) {
    numbers << QString::number(n).rightJustified(digits, QLatin1Char('0'));
  }
  return numbers;
}

QStringList NumberItems(ValueRange range) {
  return NumberItems(range.first, range.last);
}

QStringList ColourItems() {
  QStringList colours;
  for (std::string_view name : kColourNames) {
    colours << QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  }
  return colours;
}

QStringList LevelItems() {
  QStringList items;
  // Right-aligned, as the character level dialog lists them.
  for (const std::string_view name : kLevelNames)
    items << QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())).rightJustified(4);
  return items;
}

}  // namespace qrv
