#pragma once

#include <QFontMetrics>
#include <QRect>
#include <QString>
#include <QWidget>

#include "display_config.h"

class QPainter;

namespace qrv {

// Where "File Name " and the document's path are drawn: from (150, 132) up to the dark grey
// block at x = 510, one text line high.
QRect FileNameLabelRect(const QFontMetrics& metrics);

// "File Name " followed by the path, cut at the front when too wide for the label, so the
// file's own name stays in view.
QString FileNameLabelText(const QFontMetrics& metrics, const QString& file_name);

// The front of the display unit with its power switch and lamp, and the file-name label
// below it, in client-area pixels and the painter's current font.
void PaintStatusPanel(QPainter& painter, const QString& file_name);

// Fills the main window's client area; shows the file name the document holds at each paint.
class StatusPanel : public QWidget {
  Q_OBJECT

 public:
  explicit StatusPanel(const DisplayConfig& config, QWidget* parent = nullptr);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const DisplayConfig& config_;
};

}  // namespace qrv
