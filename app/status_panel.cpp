#include "status_panel.h"

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QLineF>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <algorithm>

namespace qrv {
namespace {

const QColor kFace(255, 255, 204);
const QColor kBlack(0, 0, 0);
const QColor kDarkGrey(34, 34, 34);
const QColor kGrey(80, 80, 80);
const QColor kGreen(0, 255, 0);
const QColor kWhite(255, 255, 255);

const QString kFileNamePrefix = QStringLiteral("File Name ");
constexpr int kLabelLeft = 150;
constexpr int kLabelTop = 132;
constexpr int kLabelRight = 510;  // first column of the dark grey block

// A rectangle with pen and brush of one colour: it covers left..right-1, top..bottom-1.
void Block(QPainter& painter, int left, int top, int right, int bottom, const QColor& colour) {
  painter.fillRect(QRect(left, top, right - left, bottom - top), colour);
}

// A 3 px round-capped line through the pixel centres, so it covers y-1..y+1 and reaches one
// pixel past each end, the same on both sides.
void WideLine(QPainter& painter, int x1, int x2, int y, const QColor& colour) {
  painter.setPen(QPen(colour, 3, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QLineF(x1 + 0.5, y + 0.5, x2 + 0.5, y + 0.5));
}

// Text with its top-left corner at (x, y), not its baseline.
void TextAt(QPainter& painter, int x, int y, const QString& text) {
  painter.drawText(QPointF(x, y + painter.fontMetrics().ascent()), text);
}

}  // namespace

QRect FileNameLabelRect(const QFontMetrics& metrics) {
  return QRect(kLabelLeft, kLabelTop, kLabelRight - kLabelLeft, metrics.height());
}

QString FileNameLabelText(const QFontMetrics& metrics, const QString& file_name) {
  const int room = kLabelRight - kLabelLeft - metrics.horizontalAdvance(kFileNamePrefix);
  return kFileNamePrefix + metrics.elidedText(file_name, Qt::ElideLeft, room);
}

void PaintStatusPanel(QPainter& painter, const QString& file_name) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setBackgroundMode(Qt::TransparentMode);

  Block(painter, 0, 0, 630, 132, kFace);

  // Switch body and the lamp's base.
  Block(painter, 486, 60, 504, 96, kBlack);
  Block(painter, 504, 42, 576, 114, kBlack);

  // The switch's frame, then the two blocks under the face.
  Block(painter, 516, 45, 525, 111, kDarkGrey);
  Block(painter, 516, 45, 564, 54, kDarkGrey);
  Block(painter, 555, 45, 564, 111, kDarkGrey);
  Block(painter, 516, 102, 564, 111, kDarkGrey);
  Block(painter, 60, 133, 120, 150, kDarkGrey);
  Block(painter, 510, 133, 570, 150, kDarkGrey);

  // Rule under the banner, broken where "POWER" stands.
  WideLine(painter, 12, 513, 24, kGrey);
  WideLine(painter, 567, 618, 24, kGrey);

  // The lit lamp.
  for (int y = 70; y <= 85; y += 3) WideLine(painter, 492, 510, y, kGreen);

  painter.setPen(kGrey);
  TextAt(painter, 190, 2, QStringLiteral("QRV-470K  INFORMATION SCROLLER"));
  TextAt(painter, 480, 42, QStringLiteral("ON"));
  TextAt(painter, 477, 99, QStringLiteral("OFF"));
  TextAt(painter, 519, 18, QStringLiteral("POWER"));
  {
    // Clipped as well, so no font can spill the label onto the block beside it.
    const QFontMetrics metrics = painter.fontMetrics();
    painter.save();
    painter.setClipRect(FileNameLabelRect(metrics), Qt::IntersectClip);
    TextAt(painter, kLabelLeft, kLabelTop, FileNameLabelText(metrics, file_name));
    painter.restore();
  }

  painter.setPen(kWhite);
  TextAt(painter, 534, 60, QStringLiteral("\u0399"));  // the switch's on mark
  TextAt(painter, 534, 81, QStringLiteral("\u25CB"));  // and its off mark

  painter.restore();
}

StatusPanel::StatusPanel(const DisplayConfig& config, QWidget* parent)
    : QWidget(parent), config_(config) {
  QPalette white = palette();
  white.setColor(QPalette::Window, kWhite);
  setPalette(white);
  setAutoFillBackground(true);
  setMinimumSize(sizeHint());
}

QSize StatusPanel::sizeHint() const {
  return QSize(630, std::max(150, FileNameLabelRect(fontMetrics()).bottom() + 1));
}

void StatusPanel::paintEvent(QPaintEvent* /*event*/) {
  const std::string_view path = config_.file_name_text();
  QPainter painter(this);
  PaintStatusPanel(painter,
                   QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size()))));
}

}  // namespace qrv
