#include "status_panel.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QtTest>
#include <algorithm>
#include <vector>

#include "qt_test_registry.h"

namespace qrv {
namespace {

const QRgb kFace = qRgb(255, 255, 204);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kDarkGrey = qRgb(34, 34, 34);
const QRgb kGrey = qRgb(80, 80, 80);
const QRgb kGreen = qRgb(0, 255, 0);
const QRgb kWhite = qRgb(255, 255, 255);

QImage Render(const QString& file_name) {
  QImage image(640, 180, QImage::Format_RGB32);
  image.fill(kWhite);
  QPainter painter(&image);
  PaintStatusPanel(painter, file_name);
  return image;
}

// Whether any pixel of the area has exactly the colour.
bool Holds(const QImage& image, const QRect& area, QRgb colour) {
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (image.pixel(x, y) == colour) return true;
  return false;
}

// The lightest grey level in the area; text is antialiased, so thin strokes never reach full white.
int Lightest(const QImage& image, const QRect& area) {
  int lightest = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      lightest = std::max(lightest, qGray(image.pixel(x, y)));
  return lightest;
}

QFontMetrics ImageMetrics() {
  QImage image(1, 1, QImage::Format_RGB32);
  QPainter painter(&image);
  return painter.fontMetrics();
}

}  // namespace

class StatusPanelTest : public QObject {
  Q_OBJECT

 private slots:
  void rectanglesCoverExactlyTheirPixels() {
    const QImage image = Render(QString());
    // Each rectangle's first and last pixels, and the pixels just outside them.
    const struct {
      QRgb colour;
      std::vector<QPoint> points;
    } cases[] = {{kFace, {{0, 0}, {629, 50}, {10, 131}, {629, 131}}},  // face (0, 0, 630, 132)
                 {kWhite, {{630, 50}, {10, 132}, {630, 131}, {629, 132}}},
                 // Switch body (486, 60, 504, 96) and lamp base (504, 42, 576, 114).
                 {kBlack, {{486, 60}, {503, 95}, {504, 42}, {575, 113}}},
                 {kFace, {{485, 60}, {486, 59}, {486, 96}, {504, 41}, {576, 113}, {575, 114}}},
                 // The switch's frame, with the black showing inside and around it.
                 {kDarkGrey, {{516, 45}, {524, 80}, {555, 80}, {563, 110}, {540, 53}, {540, 102}}},
                 {kBlack, {{515, 45}, {516, 44}, {525, 80}, {554, 80}, {564, 110}, {563, 111}}},
                 {kBlack, {{540, 54}, {540, 101}}},
                 // Blocks below the face (60, 133, 120, 150) and (510, 133, 570, 150).
                 {kDarkGrey, {{60, 133}, {119, 149}, {510, 133}, {569, 149}}},
                 {kWhite, {{59, 140}, {120, 140}, {60, 132}, {60, 150}}},
                 {kWhite, {{509, 140}, {570, 140}, {510, 132}, {569, 150}}}};
    for (const auto& c : cases) {
      for (const QPoint& p : c.points) {
        QVERIFY2(image.pixel(p) == c.colour,
                 qPrintable(QStringLiteral("(%1, %2)").arg(p.x()).arg(p.y())));
      }
    }
  }

  void wideLinesCoverOnePixelAroundTheirPath() {
    const QImage image = Render(QString());
    // Grey rule (12..513 and 567..618 at y = 24): rows 23..25, one pixel past each end.
    for (int y = 23; y <= 25; ++y) {
      for (int x : {11, 300, 514, 566, 619}) QCOMPARE(image.pixel(x, y), kGrey);
      for (int x : {10, 515, 620}) QCOMPARE(image.pixel(x, y), kFace);
    }
    for (int x : {11, 514, 566, 619}) {
      QCOMPARE(image.pixel(x, 22), kFace);
      QCOMPARE(image.pixel(x, 26), kFace);
    }
    // Six green lines 3 px apart at y = 70..85 meet: one lit block 491..511 by 69..86.
    for (int y = 69; y <= 86; ++y) {
      QCOMPARE(image.pixel(491, y), kGreen);
      QCOMPARE(image.pixel(511, y), kGreen);
      QCOMPARE(image.pixel(490, y), kBlack);
      QCOMPARE(image.pixel(512, y), kBlack);
    }
    for (int x : {491, 503, 504, 511}) {
      QCOMPARE(image.pixel(x, 68), kBlack);
      QCOMPARE(image.pixel(x, 87), kBlack);
    }
  }

  void textsStandAtTheirTopLeftPoints() {
    const QImage image = Render(QString());
    const int h = ImageMetrics().height();
    // Each grey text hangs below and right of its point, not above it or to its left.
    for (const QPoint& at : {QPoint(190, 2), QPoint(480, 42), QPoint(477, 99), QPoint(519, 18)}) {
      QVERIFY2(Holds(image, QRect(at, QSize(30, h)), kGrey), qPrintable(QString::number(at.x())));
    }
    QVERIFY(!Holds(image, QRect(150, 0, 40, 20), kGrey));  // left of the banner
    // The rule's gap is left to "POWER" alone: nothing grey left of its point.
    QVERIFY(!Holds(image, QRect(515, 18, 4, h), kGrey));
    // White marks on the black inside the switch's frame, far lighter than grey text.
    QVERIFY(Lightest(image, QRect(534, 60, 20, h)) > 150);
    QVERIFY(Lightest(image, QRect(534, 81, 20, h)) > 150);
    QCOMPARE(Lightest(image, QRect(525, 54, 9, 48)), 0);
  }

  void fileNameStaysInsideItsLabel() {
    const QFontMetrics metrics = ImageMetrics();
    const QRect label = FileNameLabelRect(metrics);
    QCOMPARE(label.topLeft(), QPoint(150, 132));
    QCOMPARE(label.right(), 509);
    QCOMPARE(label.height(), metrics.height());

    QCOMPARE(FileNameLabelText(metrics, QString()), QStringLiteral("File Name "));
    const QImage empty = Render(QString());
    QVERIFY(Holds(empty, label, kGrey));

    const QString short_name = QStringLiteral("/home/op/lobby.dat");
    QCOMPARE(FileNameLabelText(metrics, short_name), QStringLiteral("File Name ") + short_name);

    // A path as long as the document holds keeps its end and marks the cut at the front.
    const QString long_name = QString(7990, QLatin1Char('d')) + "/lobby.dat";
    const QString text = FileNameLabelText(metrics, long_name);
    QVERIFY(text.startsWith(QStringLiteral("File Name \u2026")));
    QVERIFY(text.endsWith(QStringLiteral("/lobby.dat")));
    QVERIFY(metrics.horizontalAdvance(text) <= label.width());

    // Whatever the name, nothing outside the label differs from the picture without one.
    for (const QString& name : {long_name, QString(4000, QChar(0x6F22)), QString(4000, 'W')}) {
      const QImage image = Render(name);
      QVERIFY(Holds(image, label, kGrey));
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
          if (!label.contains(x, y) && image.pixel(x, y) != empty.pixel(x, y))
            QFAIL(qPrintable(QStringLiteral("(%1, %2) drawn").arg(x).arg(y)));
    }
  }

  void widgetShowsTheDocumentsFileNameAtEachPaint() {
    DisplayConfig config;
    StatusPanel panel(config);
    QVERIFY(panel.minimumWidth() >= 630);
    QVERIFY(panel.minimumHeight() >= FileNameLabelRect(panel.fontMetrics()).bottom() + 1);
    panel.resize(640, 180);

    const auto painted = [&panel](const QString& name) {
      QImage expected(panel.size(), QImage::Format_RGB32);
      expected.fill(kWhite);
      QPainter painter(&expected);
      painter.setFont(panel.font());
      PaintStatusPanel(painter, name);
      painter.end();
      return panel.grab().toImage().convertToFormat(QImage::Format_RGB32) == expected;
    };
    QVERIFY(painted(QString()));
    const QByteArray path = QFile::encodeName(QStringLiteral("/srv/掲示/lobby.dat"));
    QVERIFY(config.set_file_name(path.toStdString()));
    QVERIFY(painted(QStringLiteral("/srv/掲示/lobby.dat")));
  }
};

QRV_REGISTER_QT_TEST(StatusPanelTest);

}  // namespace qrv

#include "status_panel_test.moc"
