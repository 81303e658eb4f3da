#include <QDialog>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <sstream>

#include "app_harness.h"
#include "config_file.h"
#include "dialog_fixture.h"
#include "frames.h"
#include "logged_board.h"
#include "qt_test_registry.h"
#include "setting_dialog.h"
#include "varied_config.h"

namespace qrv {
namespace {

using Frames = std::vector<std::string>;
using Shown = std::vector<std::string>;

const std::string kTitleWarning = "warning:ＪＩＳ第１水準,第２水準以外の字が選択されてます";

TimedRun* RunOf(QDialog& dialog) {
  return static_cast<SettingDialog&>(dialog).run();
}

void SetPeriod(QDialog& dialog, std::chrono::milliseconds period) {
  RunOf(dialog)->findChild<QTimer*>()->setInterval(period);
}

std::string Page(const char* head, int page, const char* tail = "") {
  return head + QString::number(page).rightJustified(2, '0').toStdString() + tail + "\r\n";
}

// The read requests in their order, written out as the board sees them.
Frames ReadRequests() {
  Frames requests;
  for (int page = 1; page <= 32; ++page) requests.push_back(Page("RCA", page));
  for (int page = 1; page <= 32; ++page) requests.push_back(Page("RP", page, "BDLT"));
  for (int page = 1; page <= 32; ++page) requests.push_back(Page("RP", page, "ICLT"));
  for (const char* r : {"RP", "RPTCT", "RPTFB", "RPTWL", "RPH", "RPV"}) {
    requests.push_back(std::string(r) + "\r\n");
  }
  return requests;
}

// The program with its board; the runs are driven by the test, one tick at a time.
struct Wire {
  LoggedBoard board;
  AppHarness h;
  MainWindow& window;
  LinkState& link;

  explicit Wire(BoardOptions options = {})
      : board(std::move(options)),
        h(false, board.device()),
        window(h.Start()),
        link(h.app->link()) {}

  // One tick. When it sends, the frame and its answer are awaited: two answers read at
  // once would be taken as one line.
  void Tick(TimedRun* run, bool sends) {
    const std::size_t before = board.count();
    run->Tick();
    if (!sends) {
      QTest::qWait(5);
      QCOMPARE(board.count(), before);
      return;
    }
    QTRY_COMPARE(board.count(), before + 1);
    QTRY_COMPARE(link.AnswerPending, 0);
  }

  // Opens the dialog of a menu command, puts its timer out of the way and presses start.
  void Open(int command, int start, const std::function<void(QDialog&, TimedRun*)>& operate) {
    h.on_dialog = [&](QDialog& d) {
      SetPeriod(d, std::chrono::hours(1));
      Press(d, start);
      operate(d, RunOf(d));
    };
    window.Dispatch(command);
  }
};

}  // namespace

// The all-items send and the maintenance read from their menu items, through the serial
// link to the simulated board on a pseudo-terminal.
class FullRunsWireTest : public QObject {
  Q_OBJECT

 private slots:
  void allItemsSendsEveryFrameInOrderAndClosesItself() {
    Wire w;
    DisplayConfig& config = *w.h.config;
    config = VariedConfig();
    config.set_title(2, 2, "A");                                // page 3, line 3: half-width
    config.char_colour[6][0] = config.border_colour[6][0] = 8;  // page 7, line 1: both blank
    int finished = -1;
    w.Open(40009, 1036, [&](QDialog& d, TimedRun* run) {
      QCOMPARE(w.h.opened.back(), 105);
      QCOMPARE(d.windowTitle(), QStringLiteral("全項目の設定"));
      QCOMPARE(run->plan().timer_id, 5);
      QCOMPARE(run->plan().period_ms, 500);
      QCOMPARE(Find<QProgressBar>(d, 1161)->maximum(), 103);
      connect(&d, &QDialog::finished, [&](int result) { finished = result; });
      for (int step = 1; step <= 103; ++step) {
        w.Tick(run, step != 3 && step != 33 && step != 42);
        if (step == 10) {
          Press(d, 1036);  // no second run
          QCOMPARE(w.link.BatchStep, 11);
        }
        if (step == 40) QCOMPARE(Find<QLineEdit>(d, 1037)->text(), QStringLiteral("40"));
      }
      QCOMPARE(Find<QLineEdit>(d, 1037)->text(), QStringLiteral("  "));
    });
    QCOMPARE(finished, 2);
    const Frames frames = w.board.frames();
    QCOMPARE(frames.size(), std::size_t{100});
    QCOMPARE(frames[0].substr(0, 12), std::string("CA01467C4B5C"));
    QCOMPARE(frames[2].substr(0, 4), std::string("CA04"));
    QCOMPARE(frames[30].substr(0, 4), std::string("CA32"));
    const std::string fill = "PTFB0005";
    QCOMPARE(frames[31].substr(0, 8), fill);
    QCOMPARE(frames[32].substr(0, 8), std::string("PTWLLHHL"));
    QCOMPARE(frames[33].substr(0, 7), std::string("P01ICLT"));
    QCOMPARE(frames[39].substr(0, 7), std::string("P08ICLT"));
    QCOMPARE(frames[63].substr(0, 7), std::string("P32ICLT"));
    QCOMPARE(frames[64].substr(0, 7), std::string("P01BDLT"));
    QCOMPARE(frames[95].substr(0, 7), std::string("P32BDLT"));
    QCOMPARE(Frames(frames.begin() + 96, frames.end()),
             (Frames{"P32\r\n", DisplayTimeFrame(config), "PH15\r\n", "PV00\r\n"}));
    for (const std::string& frame : frames) QVERIFY(frame.rfind("ID", 0) != 0);
    // Only the answer to the last frame, which comes after the run, is reported.
    QTRY_COMPARE(w.h.reporter.shown,
                 (Shown{kTitleWarning, "error:Miss! Can't Set", "set-complete"}));
  }

  void allItemsStopsAtTheTickAfterAnErrorAnswer() {
    // Step 40, the colour of page 5, is the 39th frame.
    Wire w(BoardOptions{{BoardFault{39, BoardFault::Kind::kAnswer, "E1"}}});
    bool closed = false;
    w.Open(40009, 1036, [&](QDialog& d, TimedRun* run) {
      connect(&d, &QDialog::finished, [&] { closed = true; });
      for (int step = 1; step <= 40; ++step) w.Tick(run, step != 33);
      QCOMPARE(w.h.reporter.shown, Shown{"error:Parity Error"});
      w.Tick(run, false);
      QVERIFY(!run->running());
      QCOMPARE(Find<QLineEdit>(d, 1037)->text(), QStringLiteral("40"));
      QCOMPARE(Find<QProgressBar>(d, 1161)->value(), 40);
      QVERIFY(!closed);
      // Started again from step 1; closing ends it.
      Press(d, 1036);
      w.Tick(run, true);
      QCOMPARE(w.board.frames().back(), w.board.frames().front());
      d.reject();
      QCOMPARE(w.link.BatchStep, 0);
      QCOMPARE(w.link.BatchRunning, 0);
    });
    QVERIFY(closed);
    QCOMPARE(w.board.count(), std::size_t{40});
  }

  void maintenanceReadRequestsEverySettingAndCannotBeClosedMeanwhile() {
    Wire w;
    w.h.config->current_page = 20;
    int finished = -1;
    w.Open(40026, 1005, [&](QDialog& d, TimedRun* run) {
      QCOMPARE(w.h.opened.back(), 154);
      QCOMPARE(d.windowTitle(), QStringLiteral("定値項目の読み込み"));
      QVERIFY(d.findChild<QWidget*>(QStringLiteral("notice")) != nullptr);
      QCOMPARE(run->plan().timer_id, 6);
      QCOMPARE(run->plan().period_ms, 300);
      connect(&d, &QDialog::finished, [&](int result) { finished = result; });
      d.show();
      for (int step = 1; step <= 103; ++step) {
        w.Tick(run, step != 97);
        if (step == 20) {
          // Esc and the close box do nothing while it reads.
          QTest::keyClick(&d, Qt::Key_Escape);
          QVERIFY(!d.close());
          QVERIFY(d.isVisible());
          QCOMPARE(w.link.BatchStep, 21);
        }
      }
    });
    QCOMPARE(finished, 2);
    QCOMPARE(w.board.frames(), ReadRequests());
    QCOMPARE(w.h.config->current_page, 0);
  }

  void maintenanceReadStopsAtTheTickAfterAnErrorAnswerAndThenCloses() {
    Wire w(BoardOptions{{BoardFault{50, BoardFault::Kind::kAnswer, "E1"}}});
    w.Open(40026, 1005, [&](QDialog& d, TimedRun* run) {
      d.show();
      for (int step = 1; step <= 50; ++step) w.Tick(run, true);
      w.Tick(run, false);
      QCOMPARE(Find<QLineEdit>(d, 1162)->text(), QStringLiteral("50"));
      QCOMPARE(Find<QProgressBar>(d, 1163)->value(), 50);
      QVERIFY(d.close());
    });
    QCOMPARE(w.h.reporter.shown, Shown{"error:Parity Error"});
    QCOMPARE(w.board.count(), std::size_t{50});
  }

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
      };
      w.window.Dispatch(command);
    };
    run_to_end(40009, 1036, std::chrono::milliseconds(20));
    QTRY_COMPARE(w.h.reporter.shown, Shown{"set-complete"});
    QCOMPARE(w.board.count(), std::size_t{102});

    config = DisplayConfig();
    int display_page = -1;
    run_to_end(40026, 1005, std::chrono::milliseconds(30), [&](QDialog& d) {
      // What the answer to "RP" stored, before the end of the read sets page 1.
      connect(Find<QProgressBar>(d, 1163), &QProgressBar::valueChanged, [&](int value) {
        if (value == 101) display_page = config.current_page;
      });
    });
    QCOMPARE(display_page, 31);
    QCOMPARE(config.current_page, 0);
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
