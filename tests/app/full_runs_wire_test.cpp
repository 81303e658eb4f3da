#include <QDialog>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <sstream>

#include "app_harness.h"
#include "config_file.h"
#include "dialog_fixture.h"
#include "logged_board.h"
#include "qt_test_registry.h"
#include "setting_dialog.h"
#include "varied_config.h"

namespace qrv {
namespace {

using Shown = std::vector<std::string>;

TimedRun* RunOf(QDialog& dialog) {
  return static_cast<SettingDialog&>(dialog).run();
}

void SetPeriod(QDialog& dialog, std::chrono::milliseconds period) {
  RunOf(dialog)->findChild<QTimer*>()->setInterval(period);
}

// The program with its board.
struct Wire {
  LoggedBoard board;
  AppHarness h{false, board.device()};
  MainWindow& window{h.Start()};
  LinkState& link{h.app->link()};
};

}  // namespace

// The all-items send and the maintenance read from their menu items, through the serial link
// to the simulated board on a pseudo-terminal.
class FullRunsWireTest : public QObject {
  Q_OBJECT

 private slots:
  void wholeConfigurationGoesOutAndComesBackTheSame() {
    Wire w;
    DisplayConfig& config = *w.h.config;
    const DisplayConfig sent = VariedConfig();  // display page 32
    config = sent;
    // The runs at their own pace, quickened; every answer still arrives within a period.
    auto run_to_end = [&](int command, int start, std::chrono::milliseconds period,
                          const std::function<void(QDialog&)>& watch = {}) {
      w.h.on_dialog = [&](QDialog& d) {
        SetPeriod(d, period);
        if (watch) watch(d);
        QSignalSpy finished(&d, &QDialog::finished);
        Press(d, start);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
        QCOMPARE(finished.front().front().toInt(), 2);  // closed itself
      };
      w.window.Dispatch(command);
    };
    run_to_end(40009, 1036, std::chrono::milliseconds(20));
    QTRY_COMPARE(w.h.reporter.shown, Shown{"set-complete"});
    QCOMPARE(w.board.count(), std::size_t{102});

    config = DisplayConfig();
    int display_page = -1;
    run_to_end(40026, 1005, std::chrono::milliseconds(30), [&](QDialog& d) {
      d.show();
      connect(Find<QProgressBar>(d, 1163), &QProgressBar::valueChanged, [&](int value) {
        // Esc and the close box do nothing while it reads.
        if (value == 20) {
          QTest::keyClick(&d, Qt::Key_Escape);
          QVERIFY(!d.close() && d.isVisible());
        }
        // What the answer to "RP" stored, before the end of the read sets page 1.
        if (value == 101) display_page = config.current_page;
      });
    });
    QCOMPARE(display_page, 31);
    QCOMPARE(w.board.count(), std::size_t{102 + 102});
    DisplayConfig want = sent;
    want.current_page = 0;
    // The answer to the last request comes after the dialog has closed.
    QTRY_VERIFY(BoardSettings(config) == BoardSettings(want));

    // Saved and opened again, unchanged.
    std::stringstream file;
    QVERIFY(WriteConfigFile(file, config));
    DisplayConfig opened;
    ReadConfigFile(file, opened);
    QVERIFY(BoardSettings(opened) == BoardSettings(want));
  }
};

QRV_REGISTER_QT_TEST(FullRunsWireTest);

}  // namespace qrv

#include "full_runs_wire_test.moc"
