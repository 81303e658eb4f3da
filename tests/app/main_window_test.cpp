#include "main_window.h"

#include <QAction>
#include <QBrush>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <cstring>
#include <fstream>

#include "app_harness.h"
#include "config_csv.h"
#include "corner_gesture.h"
#include "dialog_fixture.h"
#include "japanese_locale.h"
#include "line_inbox.h"
#include "link_watchdog.h"
#include "main_menu.h"
#include "qt_test_registry.h"
#include "resource_ids.h"
#include "title_frame.h"
#include "traffic_monitor.h"

namespace qrv {
namespace {

using Shown = std::vector<std::string>;
const QString kOpenQuestion = QStringLiteral("データを保存せずに別のファイルを開きますか？");

std::string FileBytes(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const QString& path, const std::string& bytes) {
  std::ofstream(path.toStdString(), std::ios::binary) << bytes;
}

// The menu bar's items in order as depth, id and text ("-" for a separator), as the menu
// table writes them.
using Row = std::tuple<int, int, QString>;
void Describe(const QList<QAction*>& actions, int depth, std::vector<Row>& out) {
  for (QAction* action : actions) {
    const QString text = action->isSeparator() ? QStringLiteral("-") : action->text();
    out.emplace_back(depth, action->menu() ? 0 : action->data().toInt(), text);
    if (action->menu() != nullptr) Describe(action->menu()->actions(), depth + 1, out);
  }
}

QAction* FindCommand(QMenuBar* bar, int id) {
  for (QAction* action : bar->findChildren<QAction*>()) {
    if (!action->menu() && action->data().toInt() == id) return action;
  }
  return nullptr;
}

void RightClick(QWidget& window, QPoint global,
                QContextMenuEvent::Reason reason = QContextMenuEvent::Mouse) {
  QContextMenuEvent event(reason, QPoint(1, 1), global);
  QApplication::sendEvent(&window, &event);
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void windowAndMenu() {
    AppHarness h(false);
    MainWindow& window = h.Start();
    QCOMPARE(window.pos(), QPoint(0, 0));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    window.move(100, 50);  // once placed, the operator may move it
    QCoreApplication::processEvents();
    QCOMPARE(window.pos(), QPoint(100, 50));

    // Every row of the menu table reaches the menu bar, in its place.
    std::vector<Row> shown, table;
    Describe(window.menuBar()->actions(), 0, shown);
    for (const MenuRow& row : MainMenuTable())
      table.emplace_back(row.depth, row.command_id, QString::fromUtf8(row.text ? row.text : "-"));
    QCOMPARE(shown, table);

    // Choosing an item reaches the dispatcher with its id; other ids do nothing.
    for (int id : {152, 40007, 40010, 40009, 40026}) FindCommand(window.menuBar(), id)->trigger();
    for (int id : {0, 151, 40005, -1}) window.Dispatch(id);
    QCOMPARE(h.opened, (std::vector<int>{102, 106, 107, 105, 154}));
  }

  // The preview follows a choice stored in a dialog; its board source, what reached the board.
  void previewFollowsDialogsAndTheSimulatedBoard() {
    AppHarness h(true);
    MainWindow& window = h.Start();
    h.config->set_title(0, 0, "\x88\xc4");  // 案
    window.Dispatch(40030);
    auto* preview = window.findChild<PreviewWindow*>();
    QVERIFY(preview && preview->isVisible() && preview->shown_page() == 0);
    const DotImage white = preview->dots();
    h.on_dialog = [](QDialog& dialog) { Choose(dialog, 1087, 1); };  // line 1 in red
    window.Dispatch(40016);
    QTRY_VERIFY(preview->dots() != white);
    Choose(*preview, 1191, 1);
    const DotImage board = preview->dots();
    QVERIFY(h.app->serial().SendFrame(*BuildTitleFrame(*h.config, 0, true)));
    QTRY_VERIFY(preview->dots() != board);
    // Auto plays the board's pages for the board's display times (2 s), not the file's.
    h.config->display_time[0] = 99;
    Choose(*preview, 1192, kPages);
    QTRY_VERIFY_WITH_TIMEOUT(preview->shown_page() == 1, 20000);
  }

  // The monitor shows the traffic from start-up, errors in red with their meaning, counts,
  // and keeps what it saves, clears and holds within bounds.
  void trafficMonitorFollowsTheLine() {
    AppHarness h(true);
    MainWindow& window = h.Start();
    QVERIFY(h.app->serial().SendFrame("IDON\r\n"));  // before the window opens
    QTRY_COMPARE(h.app->traffic().counts().answers, 1u);
    window.Dispatch(40031);
    auto* monitor = window.findChild<TrafficMonitor*>();
    QVERIFY(monitor && monitor->isVisible() && monitor->windowTitle() == "通信モニタ");
    QVERIFY(h.app->serial().SendFrame("ZZ\r\n"));  // the board does not know it
    const QAbstractItemModel* rows = Find<QListView>(*monitor, 1201)->model();
    QTRY_COMPARE(rows->rowCount(), 4);
    const auto row = [&](int r, int role = Qt::DisplayRole) {
      return rows->index(r, 0).data(role);
    };
    const QString device = QString::fromStdString(h.app->serial().device());
    QVERIFY(row(0).toString().endsWith(" " + device + " -> IDON<CR><LF>"));
    QVERIFY(row(1).toString().endsWith(" " + device + " <- GO<CR><LF>"));
    QVERIFY(row(3).toString().endsWith(" <- E3<CR><LF>   E3: Command Error"));
    QCOMPARE(row(3, Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::red));
    h.app->link().FrameSent();
    for (int tick = 0; tick <= kUnansweredTicksLimit; ++tick) window.OnWatchdogTimer();
    const QLabel* counts = Find<QLabel>(*monitor, 1205);
    QTRY_COMPARE(counts->text(), "送信 2    応答 2    エラー応答 1    無応答 (No Connect) 1");

    const QString saved = h.dir.filePath("monitor.txt");
    const QString logged = h.dir.filePath("line.log");
    monitor->set_choose_file(
        [&](QWidget*, const QString&, bool replaces) { return replaces ? saved : logged; });
    Press(*monitor, 1203);
    QFile file(saved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().split('\n').at(3), row(3).toString().toUtf8());
    Find<QCheckBox>(*monitor, 1204)->click();
    QVERIFY(h.app->serial().SendFrame("IDOF\r\n"));
    QTRY_COMPARE(rows->rowCount(), 6);
    QFile log(logged);
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll().split('\n').at(0).mid(24), row(4).toString().toUtf8().mid(24));

    Press(*monitor, 1202);
    QCOMPARE(rows->rowCount(), 0);
    QVERIFY(counts->text().startsWith("送信 0 "));
    for (std::size_t i = 0; i <= TrafficRecorder::kCapacity; ++i) {
      h.app->traffic().Record(TrafficDirection::kReceived, "p", std::to_string(i));
      if (i % 700 == 0) monitor->Pull();  // the window drops its oldest rows too
    }
    monitor->Pull();
    QCOMPARE(rows->rowCount(), int(TrafficRecorder::kCapacity));
    QVERIFY(row(0).toString().endsWith(" <- 1"));
  }

  // The CSV entries: the document written out, edited as a spreadsheet would, and read
  // back over it after the question Open asks, keeping its board-wide values; a CSV with
  // faults shown in one box of at most twelve of them, and nothing changed.
  void csvEntries() {
    AppHarness h(false);
    MainWindow& window = h.Start();
    h.config->set_title(0, 0, "\x93\xfa\x96\x7b");  // 日本
    h.config->position_h = 3;
    const QString csv = h.dir.filePath(QStringLiteral("titles"));
    h.prompts.files = {csv};
    FindCommand(window.menuBar(), ids::kExportCsv)->trigger();
    std::string text = WriteConfigCsv(*h.config);
    QCOMPARE(FileBytes(csv + ".csv"), text);
    const std::string row = "1,1,日本,白";
    text.replace(text.find(row), row.size(), "1,1,東京,赤");
    WriteFile(csv + ".csv", text);
    h.config->modified = 1;
    h.prompts.answers = {true, true};
    h.prompts.files = {csv + ".csv", csv + ".csv"};
    FindCommand(window.menuBar(), ids::kImportCsv)->trigger();
    QCOMPARE(h.prompts.asked, (QStringList{"save csv", kOpenQuestion, "open csv"}));
    QCOMPARE(std::make_tuple(h.config->title(0, 0), h.config->char_colour[0][0],
                             h.config->position_h, h.config->modified),
             std::make_tuple(std::string_view("\x93\x8c\x8b\x9e"), 1, 3, 1));
    std::string faults = "\xEF\xBB\xBF" + CsvHeader() + "\r\n";
    for (int k = 0; k < 20; ++k)
      faults += std::to_string(k / kLines + 1) + "," + std::to_string(k % kLines + 1) +
                ",,白,黒,9,0,2,High\r\n";
    WriteFile(csv + ".csv", faults);
    const DisplayConfig before = *h.config;
    std::string box = "warning:This CSV file was not read; nothing has changed.\n";
    for (int line = 2; line <= 13; ++line)
      box += "\nline " + std::to_string(line) + " column blink: \"9\" is not 0..4";
    const std::size_t before_boxes = h.reporter.shown.size();
    window.Dispatch(ids::kImportCsv);
    QCOMPARE(Shown(h.reporter.shown.begin() + before_boxes, h.reporter.shown.end()),
             (Shown{box + "\n... and 9 more"}));
    QVERIFY(std::memcmp(&before, h.config.get(), sizeof before) == 0);
    // Under a Japanese locale the core's words are Japanese, through the client's catalogue.
    JapaneseLocale ja;
    if (!ja && JapaneseLocale::Required()) QFAIL("no ja_JP.UTF-8 locale");
    if (ja) {
      std::string box_ja =
          "warning:このCSVファイルは読み込みませんでした。何も変更されていません。\n";
      for (int line = 2; line <= 13; ++line)
        box_ja += "\n" + std::to_string(line) + "行目 blink列: \"9\" は0..4ではない";
      h.prompts.answers = {true};
      h.prompts.files = {csv + ".csv"};
      const std::size_t before_ja = h.reporter.shown.size();
      window.Dispatch(ids::kImportCsv);
      QCOMPARE(Shown(h.reporter.shown.begin() + before_ja, h.reporter.shown.end()),
               (Shown{box_ja + "\n... ほか 9 件"}));
    }
  }

  // The command and the close box both ask first; quitting stops the watchdog and reader.
  void exitByCommandAndCloseBoxAlike() {
    for (const bool close_box : {false, true}) {
      AppHarness h(false);
      MainWindow& window = h.Start();
      auto exit = [&] { close_box ? (void)window.close() : window.Dispatch(150); };
      h.config->modified = 1;
      h.prompts.answers = {false, true};  // save, then cancel the save dialog; then leave
      exit();
      QVERIFY(h.quit_codes.empty() && window.watchdog_timer().isActive());
      exit();
      QCOMPARE(h.quit_codes, std::vector<int>{0});
      QVERIFY(!window.watchdog_timer().isActive());
      QCOMPARE(h.app->link().ReaderRunning(), 0);
    }
  }

  // Paints do not restart the watchdog's period, and the board's answer is dispatched on
  // this thread, from the event loop, before the seventh tick.
  void watchdogRunsOnceAndAnAnswerClearsIt() {
    AppHarness h(true);
    MainWindow& window = h.Start();
    QCOMPARE(window.watchdog_timer().interval(), 500);
    const int timer = window.watchdog_timer().timerId();
    window.repaint();
    QCoreApplication::processEvents();
    QCOMPARE(window.watchdog_timer().timerId(), timer);
    QVERIFY(h.app->serial().SendFrame("IDON\r\n"));
    for (int tick = 1; tick <= 6; ++tick) window.OnWatchdogTimer();
    QTRY_COMPARE(h.app->link().AnswerPending(), 0);
    for (int tick = 1; tick <= 10; ++tick) window.OnWatchdogTimer();
    QCOMPARE(h.reporter.shown, Shown{"set-complete"});
  }

  void cornerGesture() {
    CornerGesture gesture;
    auto clicks = [&](int n, int x, int y) {
      bool opened = false;
      for (int i = 0; i < n; ++i) opened = gesture.ContextMenu(x, y) || opened;
      return opened;
    };
    QVERIFY(!clicks(9, 19, 19));
    QVERIFY(clicks(1, 19, 19));  // the tenth in a row
    QCOMPARE(gesture.count(), 0);
    // Just outside the square, or negative (seen as large), starts again.
    for (const QPoint& away : {QPoint(20, 0), QPoint(0, 20), QPoint(-1, 5)}) {
      QVERIFY(!clicks(9, 0, 0));
      QVERIFY(!clicks(1, away.x(), away.y()));
    }
    QVERIFY(clicks(10, 65539, 3));  // coordinates are 16-bit: 65536 + 3 is 3

    // On the window: the keyboard's request and the communication settings reset.
    AppHarness h(false);
    MainWindow& window = h.Start();
    for (int i = 0; i < 9; ++i) RightClick(window, QPoint(19, 19));
    RightClick(window, QPoint(0, 0), QContextMenuEvent::Keyboard);
    for (int i = 0; i < 5; ++i) RightClick(window, QPoint(3, 3));
    window.Dispatch(40007);
    for (int i = 0; i < 9; ++i) RightClick(window, QPoint(3, 3));
    QCOMPARE(h.opened, std::vector<int>{106});
    RightClick(window, QPoint(3, 3));
    QCOMPARE(h.opened, (std::vector<int>{106, 154}));  // the maintenance read
  }

  void linesArrivingDuringADispatchWaitTheirTurn() {
    std::vector<std::string> order;
    LineInbox* self = nullptr;
    LineInbox inbox([&](const std::string& line) {
      order.push_back("begin " + line);
      // A box of the first line runs a nested loop, in which two more lines arrive.
      if (line == "E1") {
        self->Post("GO");
        self->Post("TSR1");
      }
      order.push_back("end " + line);
    });
    self = &inbox;
    inbox.Post("E1");
    QCOMPARE(order, (std::vector<std::string>{"begin E1", "end E1", "begin GO", "end GO",
                                              "begin TSR1", "end TSR1"}));
  }
};

QRV_REGISTER_QT_TEST(MainWindowTest);

}  // namespace qrv

#include "main_window_test.moc"
