#include "status_panel.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include "qt_test_registry.h"

namespace qrv {

class StatusPanelTest : public QObject {
  Q_OBJECT

 private slots:
  // The whole panel against the picture looked at and kept, in a font install-deps brings
  // everywhere; QRV_UPDATE_PICTURES=1 writes it anew after an intended change. A name too
  // long for the label is cut at its front and drawn nowhere else.
  void panelIsDrawnAsItsPicture() {
    DisplayConfig config;
    StatusPanel panel(config);
    panel.setFont(QFont(QStringLiteral("Noto Sans CJK JP"), 9));
    panel.resize(640, 180);
    const auto shown = [&panel] {
      return panel.grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    const QString kept = QStringLiteral(QRV_APP_TEST_DATA "/status_panel.png");
    const QImage empty = shown();
    if (qEnvironmentVariableIsSet("QRV_UPDATE_PICTURES")) QVERIFY(empty.save(kept));
    QCOMPARE(empty, QImage(kept).convertToFormat(QImage::Format_RGB32));

    const QString name = QString(7990, QLatin1Char('d')) + "/lobby.dat";
    QVERIFY(config.set_file_name(QFile::encodeName(name).toStdString()));
    const QImage named = shown();
    const QRect label = FileNameLabelRect(panel.fontMetrics());
    const QString text = FileNameLabelText(panel.fontMetrics(), name);
    QVERIFY(text.startsWith(QStringLiteral("File Name \u2026")) && text.endsWith("/lobby.dat"));
    QVERIFY(panel.fontMetrics().horizontalAdvance(text) <= label.width());
    QVERIFY(named != empty);
    for (int y = 0; y < named.height(); ++y)
      for (int x = 0; x < named.width(); ++x)
        if (!label.contains(x, y) && named.pixel(x, y) != empty.pixel(x, y))
          QFAIL(qPrintable(QStringLiteral("(%1, %2) drawn").arg(x).arg(y)));
  }
};

QRV_REGISTER_QT_TEST(StatusPanelTest);

}  // namespace qrv

#include "status_panel_test.moc"
