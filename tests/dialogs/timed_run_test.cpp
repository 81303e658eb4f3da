#include "timed_run.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "blink_dialog.h"
#include "char_colour_dialog.h"
#include "dialog_fixture.h"
#include "frames.h"
#include "qt_test_registry.h"

namespace qrv {
namespace {

using Frames = std::vector<std::string>;

void Ticks(TimedRun* run, int n) {
  while (n-- > 0) run->Tick();
}

// The flags a run sets and clears: BatchRunning, BatchStep, ErrorReceived, AnswerPending.
std::vector<int> Flags(const LinkState& link) {
  return {link.BatchRunning, link.BatchStep, link.ErrorReceived, link.AnswerPending};
}

}  // namespace

class TimedRunTest : public QObject {
  Q_OBJECT

 private slots:
  void blinkRunSendsEveryPageOnePerTickWithTheValuesOfItsTurn() {
    DialogFixture f;
    BlinkDialog dialog(f.context, nullptr);
    TimedRun* run = dialog.run();
    auto* bar = Find<QProgressBar>(dialog, 1177);
    QCOMPARE(run->plan().timer_id, 20);
    QCOMPARE(run->plan().period_ms, 500);
    QCOMPARE(bar->maximum(), 32);

    Press(dialog, 1049);
    QVERIFY(run->running());
    QCOMPARE(Flags(f.link), (std::vector<int>{1, 1, 0, 0}));
    QVERIFY(f.sent.empty());  // the first page goes one period after the press
    Ticks(run, 10);
    Press(dialog, 1049);  // a second press changes nothing
    QCOMPARE(f.link.BatchStep, 11);
    QCOMPARE(bar->value(), 10);

    // Page 20 changed mid-run: "設定" sends it at once, and the run later sends the new value.
    Choose(dialog, 1046, 19);
    Choose(dialog, 1101, 4);
    Press(dialog, 1048);
    QCOMPARE(f.sent.back(), std::string("P20BDLT4000000\r\n"));
    Ticks(run, 22);

    Frames expected;
    for (int page = 0; page < 10; ++page) expected.push_back(PageBlinkFrame(f.config, page));
    expected.push_back("P20BDLT4000000\r\n");
    for (int page = 10; page < 32; ++page) expected.push_back(PageBlinkFrame(f.config, page));
    QCOMPARE(f.sent, expected);
    QCOMPARE(f.sent[20], std::string("P20BDLT4000000\r\n"));
    QVERIFY(!run->running());
    QCOMPARE(Flags(f.link), (std::vector<int>{0, 0, 0, 0}));
    QCOMPARE(bar->value(), 0);
    run->Tick();  // a late tick does nothing
    QCOMPARE(f.sent.size(), expected.size());
  }

  void errorAnswerStopsTheRunAndTheNextRunStepsTheBarOn() {
    DialogFixture f;
    CharColourDialog dialog(f.context, nullptr);
    TimedRun* run = dialog.run();
    auto* bar = Find<QProgressBar>(dialog, 1178);
    QCOMPARE(run->plan().timer_id, 5);
    Press(dialog, 1049);
    Ticks(run, 5);
    f.link.ErrorReceived = 1;  // the board answered an error to page 5
    run->Tick();
    QCOMPARE(f.sent.size(), std::size_t{5});
    QCOMPARE(Flags(f.link), (std::vector<int>{0, 0, 0, 0}));
    QCOMPARE(bar->value(), 5);
    QVERIFY(!run->running());

    // Past its end the bar starts over, and goes back to 0 when the run ends.
    Press(dialog, 1049);
    Ticks(run, 27);
    QCOMPARE(bar->value(), 32);
    run->Tick();
    QCOMPARE(bar->value(), 1);
    Ticks(run, 4);
    QCOMPARE(bar->value(), 0);
    QCOMPARE(f.sent.size(), std::size_t{5 + 32});
    QCOMPARE(f.sent[5], PageColourFrame(f.config, 0));
  }

  void blankColourPagesAreSkippedAndTheRunGoesOnWhileTheBoxIsOpen() {
    DialogFixture f;
    for (int page : {2, 31}) f.config.char_colour[page][0] = f.config.border_colour[page][0] = 8;
    CharColourDialog dialog(f.context, nullptr);
    TimedRun* run = dialog.run();
    // The run's own timer, quickened. While the box for page 3 is open, ticks must go on
    // arriving and sending the next pages.
    run->findChild<QTimer*>()->setInterval(1);
    bool went_on = false;
    f.reporter.while_shown = [&] {
      const std::size_t sent = f.sent.size();
      went_on = QTest::qWaitFor([&] { return f.sent.size() >= sent + 3; }, 5000);
    };
    Press(dialog, 1049);
    QVERIFY(QTest::qWaitFor([&] { return !run->running(); }, 10000));
    QCoreApplication::sendPostedEvents();  // page 32's box comes after the last tick
    QVERIFY(went_on);
    Frames expected;
    for (int page = 0; page < 32; ++page) {
      if (page != 2 && page != 31) expected.push_back(PageColourFrame(f.config, page));
    }
    QCOMPARE(f.sent, expected);
    QCOMPARE(f.reporter.shown,
             (std::vector<std::string>{"error:Miss! Can't Set", "error:Miss! Can't Set"}));
    QCOMPARE(Flags(f.link), (std::vector<int>{0, 0, 0, 0}));
  }

  void closingEndsTheRun() {
    DialogFixture f;
    {
      BlinkDialog blink(f.context, nullptr);
      Press(blink, 1049);
      Ticks(blink.run(), 3);
      f.link.ErrorReceived = 1;
      blink.reject();
      QVERIFY(!blink.run()->running());
    }
    QCOMPARE(Flags(f.link), (std::vector<int>{0, 0, 0, 0}));
    {
      // The colour dialog leaves an error answer's flag: the next run stops at its first
      // tick without sending, and a second press runs normally.
      CharColourDialog colour(f.context, nullptr);
      Press(colour, 1049);
      Ticks(colour.run(), 2);
      f.link.ErrorReceived = 1;
      colour.reject();
    }
    QCOMPARE(Flags(f.link), (std::vector<int>{0, 0, 1, 0}));
    CharColourDialog colour(f.context, nullptr);
    Press(colour, 1049);
    colour.run()->Tick();
    QCOMPARE(f.sent.size(), std::size_t{3 + 2});
    QCOMPARE(Flags(f.link), (std::vector<int>{0, 0, 0, 0}));
    Press(colour, 1049);
    colour.run()->Tick();
    QCOMPARE(f.sent.back(), PageColourFrame(f.config, 0));
  }

  void counterShowsTheStepJustPerformed() {
    LinkState link;
    QWidget owner;
    auto* bar = new QProgressBar(&owner);
    auto* counter = new QLineEdit(&owner);
    std::vector<int> steps;
    TimedRun run(
        link, RunPlan{2, 500, 3}, bar, counter, [&](int step) { steps.push_back(step); }, &owner);
    QSignalSpy finished(&run, &TimedRun::finished);
    run.Start();
    QStringList shown;
    for (int i = 0; i < 3; ++i) {
      run.Tick();
      shown << counter->text();
    }
    QCOMPARE(steps, (std::vector<int>{1, 2, 3}));
    QCOMPARE(shown, (QStringList{"1", "2", "  "}));
    QCOMPARE(finished.count(), 1);
    run.Start();
    run.Tick();
    link.ErrorReceived = 1;
    run.Tick();
    QCOMPARE(counter->text(), QStringLiteral("1"));
    QCOMPARE(bar->value(), 1);
    QCOMPARE(finished.count(), 1);
  }
};

QRV_REGISTER_QT_TEST(TimedRunTest);

}  // namespace qrv

#include "timed_run_test.moc"
