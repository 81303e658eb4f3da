#include "comm_settings_dialog.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "qt_test_registry.h"
#include "recording_reporter.h"

namespace qrv {
namespace {

QStringList Items(const QComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

}  // namespace

class CommSettingsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void showsAndStoresEachChoiceAtOnce() {
    QTemporaryDir dir;
    const QString path = dir.filePath("conf/qrv470kse.ini");
    SerialSettings settings;  // no file: COM 1, RS-232C
    RecordingReporter reporter;
    CommSettingsDialog dialog(settings, path.toStdString(), reporter, nullptr);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("通信の設定"));
    auto* port = dialog.findChild<QComboBox*>("comPort");
    auto* control = dialog.findChild<QComboBox*>("control");
    QVERIFY(port && control && dialog.findChild<QPushButton*>("ok"));
    QCOMPARE(port->property("controlId").toInt(), 1035);
    QCOMPARE(control->property("controlId").toInt(), 1036);
    QCOMPARE(Items(port), (QStringList{"COM 1", "COM 2", "COM 3", "COM 4", "COM 5", "COM 6"}));
    QCOMPARE(Items(control), (QStringList{"RS-232C", "RS-485"}));
    QCOMPARE(port->currentIndex(), 0);
    QCOMPARE(control->currentIndex(), 0);
    QStringList groups;
    for (auto* group : dialog.findChildren<QGroupBox*>()) groups << group->title();
    QCOMPARE(groups, (QStringList{"COM Port", "Control"}));

    // Choosing "COM 3" writes 2 at once, before the dialog closes; then RS-485.
    port->setCurrentIndex(2);
    emit port->activated(2);
    QCOMPARE(settings.com_port, 2);
    QCOMPARE(Contents(path), QByteArray("[QRV-470KSE_Section]\ncom_port=2\n"));
    control->setCurrentIndex(1);
    emit control->activated(1);
    QCOMPARE(settings.com_control, 1);
    QCOMPARE(Contents(path), QByteArray("[QRV-470KSE_Section]\ncom_port=2\ncom_control=1\n"));
    QVERIFY(reporter.shown.empty());

    // Setting a selection from code stores nothing.
    port->setCurrentIndex(4);
    QCOMPARE(settings.com_port, 2);
  }

  void outOfRangeValuesShowNothingAndAFailedWriteIsReported() {
    SerialSettings settings;
    settings.com_port = 7;
    settings.com_control = -1;
    RecordingReporter reporter;
    const std::string path = "/proc/version/qrv470kse.ini";  // cannot be written, even by root
    CommSettingsDialog dialog(settings, path, reporter, nullptr);
    QCOMPARE(dialog.findChild<QComboBox*>("comPort")->currentIndex(), -1);
    QCOMPARE(dialog.findChild<QComboBox*>("control")->currentIndex(), -1);
    emit dialog.findChild<QComboBox*>("comPort")->activated(5);
    QCOMPARE(settings.com_port, 5);  // in memory for this run
    QCOMPARE(reporter.shown,
             std::vector<std::string>{"warning:Can't save the settings file " + path});
  }
};

QRV_REGISTER_QT_TEST(CommSettingsDialogTest);

}  // namespace qrv

#include "comm_settings_dialog_test.moc"
