#include <QDialog>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <chrono>

#include "app_harness.h"
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
using Pressing = std::function<void(int id)>;

// The run's own timer is put out of the way: the test is its clock.
TimedRun* ManualRun(QDialog& dialog) {
  TimedRun* run = static_cast<SettingDialog&>(dialog).run();
  run->findChild<QTimer*>()->setInterval(std::chrono::hours(1));
  return run;
}

Frames Since(const LoggedBoard& board, std::size_t first) {
  const Frames all = board.frames();
  return Frames(all.begin() + static_cast<std::ptrdiff_t>(std::min(first, all.size())), all.end());
}

}  // namespace

// The program as started, its dialogs opened from the menu, every frame through the serial
// link to the simulated board on a pseudo-terminal and every answer through the dispatcher.
class SettingDialogsWireTest : public QObject {
  Q_OBJECT

 private slots:
  void everyDialogSendsFromItsMenuItemAndEachAnswerIsReported() {
    LoggedBoard board;
    AppHarness h(false, board.device());
    MainWindow& window = h.Start();
    struct Case {
      int command;
      int template_id;
      std::function<void(QDialog&, const Pressing&)> operate;
      Frames frames;
    };
    const std::vector<Case> cases = {
        {40017,
         114,
         [](QDialog& d, const Pressing& press) {
           Choose(d, 1101, 1);
           Choose(d, 1107, 4);
           press(1048);
         },
         {"P01BDLT1000004\r\n"}},
        {40015,
         108,
         [](QDialog& d, const Pressing& press) {
           Choose(d, 1046, 9);
           for (int id = 1080; id <= 1086; ++id) Choose(d, id, 1);
           press(1048);
           press(1049);
         },
         {"P10FBLT7F\r\n", "PTFB" + Times("00", 9) + "7F" + Times("00", 22) + "\r\n"}},
        {40013,
         158,
         [](QDialog& d, const Pressing& press) {
           Choose(d, 1173, 32);
           press(1174);
         },
         {"PAS\r\n"}},
        {40023,
         159,
         [](QDialog& d, const Pressing& press) {
           Choose(d, 1175, 1);
           press(1176);
         },
         {"IDON\r\n"}},
        // "Auto" is chosen: the colour dialog shows and sends page 1.
        {40016,
         113,
         [](QDialog&, const Pressing& press) { press(1048); },
         {"P01ICLT70707070707070\r\n"}},
        {40011,
         111,
         [](QDialog&, const Pressing& press) { press(1048); },
         {"PTCT" + Times("02", 32) + "\r\n"}},
        {40014,
         109,
         [](QDialog&, const Pressing& press) { press(1048); },
         {"PTWL" + Times("H", 32) + "\r\n"}},
        {40018,
         112,
         [](QDialog& d, const Pressing& press) {
           Choose(d, 1109, 15);
           press(1111);
           press(1115);
         },
         {"PH15\r\n", "PV08\r\n"}},
    };
    Shown boxes;
    for (const Case& c : cases) {
      const std::size_t before = board.count();
      h.on_dialog = [&](QDialog& d) {
        // Each answer is awaited: two answers that reach the program in one read are
        // taken as one line.
        c.operate(d, [&](int id) {
          Press(d, id);
          QTRY_COMPARE(h.app->link().AnswerPending, 0);
        });
      };
      window.Dispatch(c.command);
      QCOMPARE(h.opened.back(), c.template_id);
      QTRY_COMPARE(Since(board, before), c.frames);
      boxes.resize(boxes.size() + c.frames.size(), "set-complete");
      QTRY_COMPARE(h.reporter.shown, boxes);
    }
    QCOMPARE(h.app->link().AnswerPending, 0);
  }

  void runsGoOutOneFramePerTickAndOnlyTheLastAnswerIsReported() {
    // The board refuses the 37th frame it receives: page 5 of the second run.
    LoggedBoard board(BoardOptions{{BoardFault{37, BoardFault::Kind::kAnswer, "E1"}}});
    AppHarness h(false, board.device());
    MainWindow& window = h.Start();
    LinkState& link = h.app->link();
    const DisplayConfig& config = *h.config;
    // One tick, then the answer to its frame dispatched.
    auto tick = [&](TimedRun* run) {
      const std::size_t before = board.count();
      run->Tick();
      QTRY_COMPARE(board.count(), before + 1);
      QTRY_COMPARE(link.AnswerPending, 0);
    };

    h.on_dialog = [&](QDialog& d) {
      Press(d, 1049);
      TimedRun* run = ManualRun(d);
      for (int page = 0; page < 32; ++page) tick(run);
      QTRY_COMPARE(h.reporter.shown, Shown{"set-complete"});
      QCOMPARE(link.BatchStep, 0);
    };
    window.Dispatch(40017);
    Frames expected;
    for (int page = 0; page < 32; ++page) expected.push_back(PageBlinkFrame(config, page));
    QCOMPARE(board.frames(), expected);

    // Colour: the second run stops at the tick after the error answer, bar part-filled.
    h.reporter.shown.clear();
    h.on_dialog = [&](QDialog& d) {
      Press(d, 1049);
      TimedRun* run = ManualRun(d);
      for (int page = 0; page < 5; ++page) tick(run);
      QCOMPARE(h.reporter.shown, Shown{"error:Parity Error"});
      QCOMPARE(link.ErrorReceived, 1);
      run->Tick();
      QVERIFY(!run->running());
      QCOMPARE(Find<QProgressBar>(d, 1178)->value(), 5);
      // Closed during a new run: the flags are cleared at once.
      Press(d, 1049);
      ManualRun(d);
      tick(run);
      d.reject();
      QCOMPARE(link.BatchStep, 0);
    };
    window.Dispatch(40016);
    QCOMPARE(board.count(), std::size_t{32 + 5 + 1});
    QTRY_COMPARE(h.reporter.shown, Shown{"error:Parity Error"});

    // So a single send in another dialog is reported again.
    h.on_dialog = [&](QDialog& d) { Press(d, 1111); };
    window.Dispatch(40018);
    QTRY_COMPARE(h.reporter.shown, (Shown{"error:Parity Error", "set-complete"}));
  }
};

QRV_REGISTER_QT_TEST(SettingDialogsWireTest);

}  // namespace qrv

#include "setting_dialogs_wire_test.moc"
