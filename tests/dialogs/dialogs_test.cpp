#include <QAbstractItemView>
#include <QCheckBox>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "all_items_dialog.h"
#include "blink_dialog.h"
#include "char_colour_dialog.h"
#include "char_level_dialog.h"
#include "comm_settings_dialog.h"
#include "config_csv.h"
#include "dialog_fixture.h"
#include "display_on_off_dialog.h"
#include "display_page_dialog.h"
#include "display_position_dialog.h"
#include "display_time_dialog.h"
#include "fill_bordering_dialog.h"
#include "maintenance_read_dialog.h"
#include "qt_test_registry.h"
#include "response_box_owner.h"
#include "title_frame.h"
#include "title_line_edit.h"
#include "title_text_dialog.h"
#include "varied_config.h"

namespace qrv {
namespace {

using Open = std::function<std::unique_ptr<QDialog>(DialogFixture&)>;
using Texts = std::vector<std::string>;

template <typename Dialog>
Open Make() {
  return [](DialogFixture& f) { return std::make_unique<Dialog>(f.context, nullptr); };
}

// What goes wrong in a template whatever its numbers: a control outside the dialog, over
// another or outside every group, a text cut off, uneven side margins.
QString LayoutFault(const QWidget& dialog) {
  QRegion groups, controls;
  int left = dialog.width(), right = 0;
  for (QWidget* w : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    const QRect r = w->geometry();
    const bool group = qobject_cast<QGroupBox*>(w) != nullptr;
    const auto* label = qobject_cast<QLabel*>(w);
    left = std::min(left, r.left()), right = std::max(right, r.right() + 1);
    if (!dialog.rect().contains(r)) return w->objectName() + " lies outside";
    if (label && !label->wordWrap() && label->sizeHint().width() > r.width()) return label->text();
    if (!group && controls.intersects(r)) return w->objectName() + " overlaps";
    if (qobject_cast<QComboBox*>(w) && !QRegion(r).subtracted(groups).isEmpty())
      return w->objectName() + " ungrouped";
    (group ? groups : controls) += r;
  }
  // Rounding may give one side a pixel more.
  return std::abs(dialog.width() - right - left) > 1 ? QStringLiteral("uneven margins") : QString();
}

// Line 1..7 of the title text dialog.
QLineEdit* Line(const QWidget& dialog, int line) {
  return Find<QLineEdit>(dialog, 1038 + line);
}

// What an input method hands to the edit when the operator confirms the text.
void Commit(QLineEdit* edit, const QString& text) {
  QInputMethodEvent event;
  event.setCommitString(text);
  QCoreApplication::sendEvent(edit, &event);
}

void Ticks(TimedRun* run, int n) {
  while (n-- > 0) run->Tick();
}

// BatchRunning, BatchStep, ErrorReceived, AnswerPending.
std::vector<int> Flags(const LinkState& link) {
  return {link.BatchRunning(), link.BatchStep(), link.ErrorReceived(), link.AnswerPending()};
}

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void eachDialogIsLaidOutItsListsShowAndStoreTheirFieldsAndItsButtonsSend() {
    QTemporaryDir dir;
    const std::string ini = dir.filePath("conf/qrv.ini").toStdString();
    const Open comm = [&](DialogFixture& f) {
      return std::make_unique<CommSettingsDialog>(f.store, nullptr);
    };
    const Open fill = Make<FillBorderingDialog>(), place = Make<DisplayPositionDialog>();
    const struct {
      Open open;
      int first_id, lists, items;
      // What list i shows, whether a choice marks the configuration modified, and the button
      // that sends the setting, if any.
      int (*value)(const DialogFixture&, int);
      int marks, button;
      Frame (*frame)(const DisplayConfig&);
    } cases[] = {
        {Make<BlinkDialog>(), 1101, 7, 5, [](auto& f, int l) { return f.config.blink[5][l]; }, 1,
         1048, [](auto& c) { return PageBlinkFrame(c, 5); }},
        {fill, 1080, 7, 2, [](auto& f, int l) { return f.config.fill_mask[5] >> l & 1; }, 1, 1048,
         [](auto& c) { return PageFillFrame(c, 5); }},
        {fill, 0, 0, 0, nullptr, 0, 1049, &AllFillFrame},
        // Character colours, then bordering colours.
        {Make<CharColourDialog>(), 1087, 14, 9,
         [](auto& f, int l) {
           return (l < 7 ? f.config.char_colour : f.config.border_colour)[5][l % 7];
         },
         1, 1048, [](auto& c) { return PageColourFrame(c, 5); }},
        {Make<DisplayTimeDialog>(), 1050, 8, 100,
         [](auto& f, int r) { return f.config.display_time[16 + r]; }, 1, 1048, &DisplayTimeFrame},
        {Make<CharLevelDialog>(), 1072, 8, 2,
         [](auto& f, int r) { return f.config.char_level[16 + r]; }, 1, 1048, &CharLevelFrame},
        {place, 1109, 1, 16, [](auto& f, int) { return f.config.position_h; }, 1, 1111,
         &PositionHFrame},
        {place, 1113, 1, 16, [](auto& f, int) { return f.config.position_v; }, 1, 1115,
         &PositionVFrame},
        {Make<DisplayOnOffDialog>(), 1175, 1, 2, [](auto& f, int) { return f.config.display_on; },
         0, 1176, &DisplayOnOffFrame},
        {comm, 1035, 1, 6, [](auto& f, int) { return f.settings.com_port; }, 0, 0, nullptr},
        {comm, 1036, 1, 2, [](auto& f, int) { return f.settings.com_control; }, 0, 0, nullptr},
        {Make<TitleTextDialog>(), 0, 0, 0, nullptr, 0, 0, nullptr},
        {Make<AllItemsDialog>(), 0, 0, 0, nullptr, 0, 0, nullptr},
        {Make<MaintenanceReadDialog>(), 0, 0, 0, nullptr, 0, 0, nullptr},
        // Last: a choice that changes what the lists above show.
        {Make<DisplayPageDialog>(), 1173, 1, 33, [](auto& f, int) { return f.config.current_page; },
         0, 1174, &DisplayPageFrame},
    };
    DialogFixture f(ini);
    f.config = VariedConfig();
    f.config.current_page = 5;
    f.choices.PageGroup = 2;   // pages 17 to 24
    f.config.blink[5][6] = 5;  // no item stands for it: nothing shown
    f.settings.com_port = 2;
    for (const auto& c : cases) {
      f.config.modified = 0;
      f.sent.clear();
      auto dialog = c.open(f);
      const QString fault = LayoutFault(*dialog);
      QVERIFY2(fault.isEmpty(), qPrintable(dialog->windowTitle() + ": " + fault));
      // Whatever a dialog sends goes to the board chosen in it.
      QVERIFY(dialog->findChild<QComboBox*>("slaveNo") || dialog->findChild<QComboBox*>("control"));
      const auto shown = [&](int i) {
        const int v = c.value(f, i);
        return List(*dialog, c.first_id + i)->count() == c.items &&
               List(*dialog, c.first_id + i)->currentIndex() == (v < c.items ? v : -1);
      };
      for (int i = 0; i < c.lists; ++i) QVERIFY(shown(i));
      QCOMPARE(f.config.modified, 0);
      // Each choice stores its own field and no other.
      for (int i = 0; i < c.lists; ++i) {
        Choose(*dialog, c.first_id + i, (c.value(f, i) + 1) % c.items);
        for (int j = 0; j < c.lists; ++j) QVERIFY(shown(j));
      }
      QCOMPARE(f.config.modified, c.marks);
      if (c.button != 0) Press(*dialog, c.button);
      QCOMPARE(f.sent, c.button != 0 ? Texts{c.frame(f.config)} : Texts{});
    }
    // Each communication choice is written at once; a failed write is reported.
    QCOMPARE(ReadSerialSettings(ini).com_port, 3);
    QCOMPARE(ReadSerialSettings(ini).com_control, 1);
    SettingsStore unwritable(f.settings, "/proc/version/qrv.ini", f.reporter);
    Choose(CommSettingsDialog(unwritable, nullptr), 1035, 5);
    QCOMPARE(f.reporter.shown, Texts{"warning:Can't save the settings file /proc/version/qrv.ini"});
  }

  // The devices found follow COM 1..6, looked for again as the list drops down; a choice is
  // stored and used at once.
  void portChoicesAreStoredAndUsedAtOnce() {
    QTemporaryDir dir;
    const std::string ini = dir.filePath("qrv.ini").toStdString(), usb = "/dev/serial/by-id/usb-1";
    DialogFixture f(ini);
    f.settings.com_device = "/dev/ttyUSB9";  // unplugged since it was chosen
    std::vector<SerialDevice> found{{usb, "/dev/ttyUSB0", "ttyUSB0", "FTDI FT232R"}};
    std::vector<std::string> used{"/dev/ttyUSB9"};
    // A device in use that the settings do not name (--simulate, --port) is the one shown;
    // one of the list is shown where it stands.
    const std::pair<std::string, std::string> shown_for[] = {
        {"/dev/pts/7", "/dev/pts/7"},
        {"/dev/ttyS2", "COM 3"},
        {"/dev/ttyUSB0", "FTDI FT232R  " + usb}};
    for (const auto& [in_use, shown] : shown_for) {
      PortControl port;
      port.list_devices = [&] { return found; };
      port.device = [&in_use = in_use] { return in_use; };
      CommSettingsDialog dialog(f.store, nullptr, port);
      QCOMPARE(List(dialog, 1035)->currentText(), QString::fromStdString(shown));
    }
    CommSettingsDialog dialog(
        f.store, nullptr,
        {[&] { return found; }, [&] { return used.back(); }, [] { return false; },
         [&](const std::string& d) { used.push_back(d); },
         [](const std::string& d) { return d != "/dev/ttyUSB9"; }});
    QComboBox* list = List(dialog, 1035);
    QCOMPARE(std::make_tuple(list->count(), list->currentIndex(), list->itemText(7)),
             std::make_tuple(8, 7, QStringLiteral("/dev/ttyUSB9  (not present)")));
    QCOMPARE(dialog.findChild<QLabel*>("portInUse")->text(), "In use: /dev/ttyUSB9 (not open)");
    Choose(dialog, 1035, 6);
    QCOMPARE(std::make_tuple(ReadSerialSettings(ini).com_device, list->count(), used.back()),
             std::make_tuple(usb, 7, usb));
    found.push_back({"/dev/ttyACM0", "/dev/ttyACM0", "ttyACM0", "serial port"});
    list->showPopup();
    list->hidePopup();
    QCOMPARE(list->count(), 8);
    Choose(dialog, 1035, 1);
    const SerialSettings stored = ReadSerialSettings(ini);
    QCOMPARE(std::make_tuple(stored.com_port, stored.com_device, used.back(), list->currentIndex()),
             std::make_tuple(1, std::string(), std::string("/dev/ttyS1"), 1));
    // Over the closed lists the wheel, the keys that step and typed letters switch and store
    // nothing; Enter in the open list does.
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    for (QComboBox* closed : {list, List(dialog, 1036)}) {
      for (const int delta : {-120, 120, 120}) {
        QWheelEvent wheel(QPointF(5, 5), closed->mapToGlobal(QPointF(5, 5)), {}, {0, delta},
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(closed, &wheel);
      }
      for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_End, Qt::Key_C})
        QTest::keyClick(closed, key);
    }
    QCOMPARE(std::make_tuple(used.size(), list->currentIndex(), List(dialog, 1036)->currentIndex()),
             std::make_tuple(std::size_t{3}, 1, 0));
    QCOMPARE(ReadSerialSettings(ini).com_control, 0);
    list->showPopup();
    QTest::keyClick(list->view(), Qt::Key_Down);
    QTest::keyClick(list->view(), Qt::Key_Return);
    QCOMPARE(std::make_tuple(used.size(), used.back(), ReadSerialSettings(ini).com_port),
             std::make_tuple(std::size_t{4}, std::string("/dev/ttyS2"), 2));
  }

  void sharedChoicesAreNoChangeEnterPressesOnlyTheFocusedButtonAndAutoStays() {
    DialogFixture f;
    f.settings.com_control = 1;
    Choose(DisplayPageDialog(f.context, nullptr), 1173, 32);
    DisplayTimeDialog time(f.context, nullptr);
    Choose(time, 1066, 1);
    Choose(time, 1067, 12);
    // Typed text and Enter choose nothing.
    List(time, 1067)->lineEdit()->setText(QStringLiteral("03"));
    QTest::keyClick(List(time, 1067)->lineEdit(), Qt::Key_Return);
    QVERIFY(f.choices.SlaveNumber == 12 && List(time, 1067)->count() == 32);
    QCOMPARE(f.choices.PageGroup, 1);
    // Enter presses only the focused button, and boxes go to the dialog that sent.
    QWidget owner;
    BlinkDialog blink(f.context, &owner);
    blink.show();
    QVERIFY(QTest::qWaitForWindowActive(&blink));
    Choose(blink, 1046, 4);
    QTest::keyClick(List(blink, 1101), Qt::Key_Return);
    QVERIFY(f.sent.empty());
    Find<QPushButton>(blink, 1048)->setFocus();
    QTest::keyClick(Find<QPushButton>(blink, 1048), Qt::Key_Return);
    QCOMPARE(f.sent.size(), std::size_t{1});
    FillBorderingDialog fill(f.context, &owner);
    QCOMPARE(ResponseBoxOwner(), &blink);
    // The page chosen is shown, but "Auto" stays until a page is chosen here.
    QCOMPARE(List(DisplayPageDialog(f.context, nullptr), 1173)->currentIndex(), 4);
    QCOMPARE(f.config.display_page_auto, 1);
    f.settings.com_control = 0;  // RS-232C: one board, no "Slave No." to choose
    QVERIFY(!List(BlinkDialog(f.context, nullptr), 1050)->isEnabled());
  }

  void runsSendEveryPageOnePerTickWithTheValuesOfItsTurnAndEndAsTheyShould() {
    DialogFixture f;
    BlinkDialog dialog(f.context, nullptr);
    // A coarse timer may fire up to 5 % early.
    QCOMPARE(dialog.run()->findChild<QTimer*>()->timerType(), Qt::PreciseTimer);
    Press(dialog, 1049);
    QCOMPARE(Flags(f.link), (std::vector<int>{1, 1, 0, 0}));
    QVERIFY(f.sent.empty());  // the first page goes one period after the press
    Ticks(dialog.run(), 10);
    Press(dialog, 1049);  // a second press changes nothing
    // Page 20 changed mid-run: "設定" sends it at once, and the run later sends the new value.
    Choose(dialog, 1046, 19);
    Choose(dialog, 1101, 4);
    Press(dialog, 1048);
    Ticks(dialog.run(), 23);  // the last is late and does nothing
    QCOMPARE(f.sent.size(), std::size_t{33});
    QCOMPARE(f.sent[20], f.sent[10]);
    QCOMPARE(f.sent[32], PageBlinkFrame(f.config, 31));
    QVERIFY(Flags(f.link) == std::vector<int>(4, 0) && !dialog.run()->running());
    // A value its frame cannot carry, as from a hand-edited file: named, nothing sent.
    f.config.blink[19][6] = 10;
    Press(dialog, 1048);
    QCOMPARE(f.reporter.shown,
             Texts{"warning:Not sent, a value does not fit: page 20 line 7 blink 10 (0..4)"});
    QCOMPARE(f.sent.size(), std::size_t{33});
    f.reporter.shown.clear();
    // Blank pages, an error answer and closing end a colour run as they should.
    f.sent.clear();
    f.config.char_colour[2][0] = f.config.border_colour[2][0] = kColourBlank;
    CharColourDialog colour(f.context, nullptr);
    // Both colours of a line blank: "設定" refuses the page, and the run passes it over.
    Choose(colour, 1046, 2);
    Press(colour, 1048);
    Press(colour, 1049);
    Ticks(colour.run(), 5);
    QCOMPARE(f.reporter.shown, Texts{"warning:Miss! Can't Set"});
    QCoreApplication::sendPostedEvents();  // the run's box shows once the tick has returned
    QCOMPARE(f.reporter.shown, (Texts{"warning:Miss! Can't Set", "error:Miss! Can't Set"}));
    f.link.ErrorAnswerReceived();  // the board answered an error to page 5
    colour.run()->Tick();
    QVERIFY(Flags(f.link) == std::vector<int>(4, 0) && !colour.run()->running());
    // The next run steps the bar on; past its end it starts over, and ends at 0.
    f.config.char_colour[2][0] = 0;
    Press(colour, 1049);
    Ticks(colour.run(), 28);
    QCOMPARE(Find<QProgressBar>(colour, 1178)->value(), 1);
    Ticks(colour.run(), 4);
    QCOMPARE(Find<QProgressBar>(colour, 1178)->value(), 0);
    // Closed with an error answer pending: the colour dialog leaves its flag, so the next run
    // stops at its first tick.
    Press(colour, 1049);
    f.link.ErrorAnswerReceived();
    colour.reject();
    QCOMPARE(Flags(f.link), (std::vector<int>{0, 0, 1, 0}));
    Press(colour, 1049);
    colour.run()->Tick();
    QCOMPARE(f.sent.size(), std::size_t{4 + 32});
    // An idle read dialog closes without touching them.
    f.link.ErrorAnswerReceived();
    f.link.FrameSent();
    MaintenanceReadDialog read(f.context, nullptr);
    read.reject();
    QCOMPARE(Flags(f.link), (std::vector<int>{0, 0, 1, 1}));
  }

  // A read over unsaved changes goes only when the operator agrees; its end is said once
  // the board's last answer is in, or how many never came once an answer's time-out passed.
  void readsAskBeforeReplacingChangesAndSayHowTheyEnded() {
    DialogFixture f;
    int asked = 0;
    f.context.ConfirmRead = [&] { return ++asked > 1; };  // No at first, then Yes
    MaintenanceReadDialog read(f.context, nullptr);
    Press(read, ids::kReadStart);
    QVERIFY(!read.run()->running() && f.sent.empty());
    const std::pair<std::size_t, Texts> ends[] = {
        {102, {"read-complete"}},
        {100, {"warning:読み込みを終えましたが、102件の要求のうち3件に応答がありませんでした"}}};
    for (const auto& [silent_after, said] : ends) {
      f.sent.clear();
      Press(read, ids::kReadStart);
      while (read.run()->running()) {
        read.run()->Tick();
        // Answered at once, but for the last request, whose answer is still on the line.
        if (read.run()->running() && f.link.AnswerPending() && f.sent.size() < silent_after) {
          f.link.LineReceived();
          f.dispatched.Notify();
        }
      }
      QCoreApplication::processEvents();
      QVERIFY(f.sent.size() == 102 && f.reporter.shown.empty());
      if (silent_after == 102) f.dispatched.Notify();
      QTRY_COMPARE_WITH_TIMEOUT(f.reporter.shown, said, 20000);
      f.reporter.shown.clear();
    }
    QCOMPARE(asked, 3);
  }

  // Answer-paced, a step is due at once when the last frame is answered, not at the 500 ms
  // period's end, and a step that sends nothing (33) takes no time; an error answer stops
  // it. The test ticks the run itself and reads from its timer when the next step is due,
  // so no wall clock is read.
  void answerPacedRunsGoOnAtEachAnswerAndTheChoiceIsKept() {
    QTemporaryDir dir;
    DialogFixture f(dir.filePath("qrv.ini").toStdString());
    f.config = VariedConfig();  // every title page goes out
    AllItemsDialog dialog(f.context, nullptr);
    Find<QCheckBox>(dialog, ids::kAllItemsAnswerPace)->click();
    QCOMPARE(ReadSerialSettings(f.store.path()).answer_pace, 1);
    QVERIFY(Find<QCheckBox>(MaintenanceReadDialog(f.context, nullptr), ids::kReadAnswerPace)
                ->isChecked());
    const QTimer* due = dialog.run()->findChild<QTimer*>();
    Press(dialog, ids::kAllItemsStart);
    for (std::size_t n = 1; n <= 40; ++n) {
      while (f.sent.size() < n && dialog.run()->running()) {
        QCOMPARE(due->interval(), 0);
        dialog.run()->Tick();
      }
      QCOMPARE(f.sent.size(), n);
      QCOMPARE(due->interval(), 500);  // unanswered, the run waits up to its period
      f.link.LineReceived();
      if (n == 40) f.link.ErrorAnswerReceived();
      f.dispatched.Notify();
    }
    QCOMPARE(due->interval(), 0);
    dialog.run()->Tick();
    QVERIFY(!dialog.run()->running());
    QCOMPARE(f.sent.size(), std::size_t{40});
    QCOMPARE(Flags(f.link), std::vector<int>(4, 0));
  }

  void titleButtonsSendThePageAsTypedAndOnlyStoreItDuringARun() {
    DialogFixture f;
    f.config.current_page = kAutoPage;  // page 1 is shown and sent
    f.config.set_title(12, 0, "AB");    // page 13 cannot be sent
    TitleTextDialog dialog(f.context, nullptr);
    // The JIS forms of the wave dash and the minus sign are the board's ～ and －.
    Commit(Line(dialog, 3), QStringLiteral("\u301C\u2212①"));
    Press(dialog, 1047);
    QCOMPARE(f.config.title(0, 2), "\x81\x60\x81\x7c\x87\x40");
    Choose(dialog, 1046, 11);
    Press(dialog, 1048);
    // "設定" has the board store the page, "Not memory" not.
    QCOMPARE(f.sent,
             (Texts{*BuildTitleFrame(f.config, 0, false), *BuildTitleFrame(f.config, 11, true)}));
    // A page the board cannot take: a warning, nothing sent, the text kept.
    Choose(dialog, 1046, 12);
    Press(dialog, 1048);
    QCOMPARE(f.reporter.shown, Texts{"warning:ＪＩＳ第１水準,第２水準以外の字が選択されてます"});
    QCOMPARE(f.config.title(12, 0), "AB");
    QCOMPARE(dialog.findChild<QLabel*>("inputNotice")->text(),
             QStringLiteral("1行目: 半角文字を含む行は送れません"));
    // During the run the buttons store and send nothing: each page goes in its turn.
    f.sent.clear();
    Press(dialog, 1049);
    Commit(Line(dialog, 1), QStringLiteral("Ｚ"));
    Press(dialog, 1048);
    Press(dialog, 1047);
    Ticks(dialog.run(), 13);
    QCOMPARE(Find<QLineEdit>(dialog, 1037)->text(), QStringLiteral("13"));  // the step just done
    Ticks(dialog.run(), 19);
    QCOMPARE(Find<QLineEdit>(dialog, 1037)->text(), QStringLiteral("  "));
    QCOMPARE(f.sent.size(), std::size_t{31});
    QCOMPARE(f.sent[12], *BuildTitleFrame(f.config, 13, true));
    QCoreApplication::sendPostedEvents();  // page 13's box
    QCOMPARE(f.reporter.shown.size(), std::size_t{2});
  }

  void titleLinesTakeOnlyWhatTheBoardsCodePageHoldsWithinTwentyEightBytes() {
    DialogFixture f;
    // From a file: the IBM form of Ⅰ, which reads as the same character as its NEC form, and
    // a line too long for the board, which can be cut down but not lengthened.
    f.config.set_title(0, 0, "\xfa\x4a");
    f.config.set_title(0, 6, Times("\x82\xa0", 14) + "A");
    TitleTextDialog dialog(f.context, nullptr);
    QLineEdit* line = Line(dialog, 2);
    const auto notice = [&] { return dialog.findChild<QLabel*>("inputNotice")->text(); };
    // 13 full-width characters and two half-width ones fill the 28 bytes; one more is refused
    // and the line stays as it was.
    Commit(line, QString(13, QChar(0x3042)));
    QTest::keyClicks(line, "ABC");
    QCOMPARE(notice(), QStringLiteral("1行は28バイト（全角14文字）までです"));
    // At 27 bytes a full-width character does not fit, a half-width one does.
    QTest::keyClick(line, Qt::Key_Backspace);
    Commit(line, QStringLiteral("あ"));
    QTest::keyClicks(line, "Z");
    QCOMPARE(f.config.title(0, 1), Times("\x82\xa0", 13) + "AZ");
    // A half-width space is the full-width one as it is typed, and counts its two bytes.
    QLineEdit* spaced = Line(dialog, 4);
    Commit(spaced, QStringLiteral("東京"));
    QTest::keyClicks(spaced, " ");
    Commit(spaced, QString(11, QChar(0x3042)));
    QCOMPARE(spaced->text(), QStringLiteral("東京　") + QString(11, QChar(0x3042)));
    QTest::keyClicks(spaced, " ");
    QCOMPARE(notice(), QStringLiteral("1行は28バイト（全角14文字）までです"));
    QCOMPARE(f.config.title(0, 3), "\x93\x8c\x8b\x9e\x81\x40" + Times("\x82\xa0", 11));
    // Characters code page 932 lacks are never stored, not even as '?'.
    Commit(Line(dialog, 5), QStringLiteral("駅"));
    Line(dialog, 5)->setCursorPosition(0);
    Commit(Line(dialog, 5), QStringLiteral("€😀"));
    QCOMPARE(Line(dialog, 5)->cursorPosition(), 0);
    QCOMPARE(notice(), QStringLiteral("「€😀」は使えない文字です（コードページ932にありません）"));
    QCOMPARE(f.config.title(0, 4), "\x89\x77");
    QTest::keyClick(Line(dialog, 7), Qt::Key_B);
    QCOMPARE(f.config.title(0, 0), "\xfa\x4a");
    QCOMPARE(f.config.title(0, 6), Times("\x82\xa0", 14) + "A");
    QTest::keyClick(Line(dialog, 7), Qt::Key_Backspace);
    QCOMPARE(f.config.title(0, 6), Times("\x82\xa0", 14));
  }

  // Where code page 932 converters disagree (the JIS and Microsoft forms, the NEC and IBM
  // extensions), a typed line and a line from a CSV file are stored as the same bytes.
  void typedAndImportedLinesTakeTheSameCodePage932Bytes() {
    const QString typed = QStringLiteral("〜−‖∥—¢£¬①ⅰ髙﨑");
    const std::string bytes =
        "\x81\x60\x81\x7c\x81\x61\x81\x61\x81\x5c\x81\x91\x81\x92\x81\xca\x87\x40\xfa\x40"
        "\xfb\xfc\xfa\xb1";
    TitleLineEdit line(kTitleLineBytes, nullptr);
    Commit(&line, typed);
    QCOMPARE(line.Bytes(), bytes);
    std::string csv = WriteConfigCsv({});
    csv.replace(csv.find("1,1,,"), 5, "1,1," + typed.toStdString() + ",");
    DisplayConfig imported;
    QVERIFY(ReadConfigCsv(csv, imported).empty());
    QCOMPARE(imported.title(0, 0), bytes);
  }

  void onlyTheOperatorsTouchStoresATitleAndMarks() {
    DialogFixture f;
    f.config = VariedConfig();
    auto dialog = std::make_unique<TitleTextDialog>(f.context, nullptr);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    Choose(*dialog, 1046, 13);
    // A click into a line, without typing, is.
    QTest::mouseClick(Line(*dialog, 6), Qt::LeftButton);
    QCOMPARE(f.config.modified, 1);
    // Text typed and then a page chosen: the page left keeps it.
    Line(*dialog, 6)->insert(QStringLiteral("新"));
    Choose(*dialog, 1046, 20);
    QCOMPARE(f.config.title(13, 5), "\x90\x56");
    // Taken down with the focus in a line, which then stores nothing into the dialog.
    f.config.modified = 0;
    dialog.reset();
    QCOMPARE(f.config.modified, 0);
  }
};

QRV_REGISTER_QT_TEST(DialogsTest);

}  // namespace qrv

#include "dialogs_test.moc"
