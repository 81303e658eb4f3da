#include <algorithm>

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "app_harness.h"
#include "dialog_fixture.h"
#include "main_window.h"
#include "message_box_reporter.h"
#include "page_editor.h"
#include "preview_window.h"
#include "qt_test_registry.h"
#include "resource_ids.h"
#include "run_steps.h"
#include "timed_run.h"
#include "title_line_edit.h"
#include "visible_text.h"

namespace qrv {
namespace {

// The frames that went out after entry `after`, as the traffic monitor shows them.
std::vector<std::string> SentSince(TrafficRecorder& traffic, std::uint64_t after) {
  std::vector<std::string> frames;
  for (const auto& entry : traffic.Since(after)) {
    if (entry.direction != TrafficDirection::kSent) continue;
    frames.push_back(entry.text.substr(entry.text.find(" -> ") + 4));
  }
  return frames;
}

int AnswersSince(TrafficRecorder& traffic, std::uint64_t after) {
  int answers = 0;
  for (const auto& entry : traffic.Since(after))
    answers += entry.direction == TrafficDirection::kReceived;
  return answers;
}

std::uint64_t LastEntry(TrafficRecorder& traffic) {
  const auto all = traffic.Since(0);
  return all.empty() ? 0 : all.back().number;
}

}  // namespace

class PageEditorTest : public QObject {
  Q_OBJECT

 private slots:
  // A page composed in the preview alone: what is typed and chosen is stored at once, what a
  // dialog stores shows in the editor, and the page's own frames reach the board.
  void composesAPageAndSendsIt() {
    AppHarness h(true);
    MainWindow& window = h.Start();
    window.Dispatch(ids::kPreview);
    auto* preview = window.findChild<PreviewWindow*>();
    QVERIFY(preview != nullptr);
    PageEditor& editor = preview->editor();
    QVERIFY(editor.isEnabled());
    QCOMPARE(std::make_pair(editor.page(), editor.line()), std::make_pair(0, 0));

    // A dialog's choice reaches the editor's row.
    h.on_dialog = [](QDialog& dialog) { Choose(dialog, 1087, 2); };  // line 1, green
    window.Dispatch(ids::kCharColour);
    QTRY_COMPARE(List(editor, ids::kEditorCharColour)->currentIndex(), 2);

    // Page 3, line 2, by the keys, the row showing each line it passes; the line is typed and
    // coloured there.
    h.config->set_title(2, 2, "\x88\xc4");  // 案
    h.config->char_colour[2][2] = 0;
    h.config->border_colour[2][2] = 3;
    h.config->blink[2][2] = 2;
    h.config->fill_mask[2] = 0b100;
    h.config->display_time[2] = 9;
    const std::vector<std::pair<Qt::Key, std::pair<int, int>>> path = {{Qt::Key_PageDown, {1, 0}},
                                                                       {Qt::Key_PageDown, {2, 0}},
                                                                       {Qt::Key_Down, {2, 1}},
                                                                       {Qt::Key_Down, {2, 2}},
                                                                       {Qt::Key_Up, {2, 1}}};
    for (const auto& [key, place] : path) {
      QTest::keyClick(preview, key);
      QCOMPARE(std::make_pair(editor.page(), editor.line()), place);
      if (place.second != 2) continue;
      const QList<QLabel*> labels = editor.findChildren<QLabel*>();
      QVERIFY(std::any_of(labels.begin(), labels.end(), [](const QLabel* label) {
        return label->text() == QStringLiteral("Page 3  3行目");
      }));
      QCOMPARE(Find<TitleLineEdit>(editor, ids::kEditorLineText)->text(), QStringLiteral("案"));
      QCOMPARE(List(editor, ids::kEditorCharColour)->currentIndex(), 0);
      QCOMPARE(List(editor, ids::kEditorBorderColour)->currentIndex(), 3);
      QCOMPARE(List(editor, ids::kEditorBlink)->currentIndex(), 2);
      QVERIFY(Find<QCheckBox>(editor, ids::kEditorFill)->isChecked());
      QCOMPARE(List(editor, ids::kEditorDisplayTime)->currentIndex(), 9);
    }
    QVERIFY(Find<TitleLineEdit>(editor, ids::kEditorLineText)->text().isEmpty());
    QVERIFY(!Find<QCheckBox>(editor, ids::kEditorFill)->isChecked());
    QCOMPARE(preview->shown_page(), 2);
    h.config->modified = 0;
    const DotImage empty = preview->dots();
    Find<TitleLineEdit>(editor, ids::kEditorLineText)->insert(QStringLiteral("案内"));
    QCOMPARE(h.config->title(2, 1), std::string("\x88\xc4\x93\xe0"));
    QCOMPARE(h.config->modified, 1);
    QVERIFY(window.isWindowModified());
    QTRY_VERIFY(preview->dots() != empty);
    const DotImage white = preview->dots();
    Choose(editor, ids::kEditorCharColour, 1);
    Find<QCheckBox>(editor, ids::kEditorFill)->click();
    Choose(editor, ids::kEditorDisplayTime, 7);
    QCOMPARE(h.config->char_colour[2][1], 1);
    QCOMPARE(h.config->fill_mask[2], 0b110);
    QCOMPARE(h.config->display_time[2], 7);
    QTRY_VERIFY(preview->dots() != white);

    // Both colours blank: the row says why the line would not be sent.
    Choose(editor, ids::kEditorCharColour, kColourBlank);
    Choose(editor, ids::kEditorBorderColour, kColourBlank);
    QTRY_VERIFY(Find<QLabel>(editor, ids::kEditorNote)->text().contains("Miss! Can't Set"));
    // Such a line lights nothing on the board; the picture hatches it as it hatches a text
    // that would not go.
    const auto lit_in_line = [&](int line) {
      const DotImage& dots = preview->dots();
      return std::count_if(dots.begin() + line * 16 * kDotsWide,
                           dots.begin() + (line + 1) * 16 * kDotsWide,
                           [](const Rgb& dot) { return dot.r != 0 || dot.g != 0 || dot.b != 0; });
    };
    QTRY_VERIFY(lit_in_line(1) > 0);
    Choose(editor, ids::kEditorCharColour, 1);
    Choose(editor, ids::kEditorBorderColour, 0);
    QTRY_VERIFY(Find<QLabel>(editor, ids::kEditorNote)->text().isEmpty());

    // The page's frames, in their order, and nothing else; the board then shows the page.
    const std::uint64_t mark = LastEntry(h.app->traffic());
    Press(editor, ids::kEditorSend);
    QVERIFY(editor.run()->running());
    QTRY_VERIFY_WITH_TIMEOUT(!editor.run()->running(), 30000);
    std::vector<std::string> expected;
    for (int step = 1; step <= kPageSendSteps; ++step)
      expected.push_back(VisibleText(*PageSendStep(*h.config, 2, step).frame));
    QCOMPARE(SentSince(h.app->traffic(), mark), expected);
    const DotImage composed = preview->dots();
    Choose(*preview, ids::kPreviewSource, 1);
    QVERIFY(!editor.isEnabled());  // the board's pages are only looked at
    QTRY_COMPARE(preview->dots(), composed);

    // Where the window stood is in the settings file.
    preview->move(40, 30);
    preview->hide();
    QFile settings(h.dir.filePath("qrv470kse.ini"));
    QVERIFY(settings.open(QIODevice::ReadOnly));
    QVERIFY(settings.readAll().contains("preview_window="));
  }

  // A page with lines that cannot go ends with one box naming them, not the board's "設定完了"
  // to its last frame; the box is the active window, above the preview, until answered.
  void aSendThatPassesLinesOverEndsWithOneBoxAboveThePreview() {
    MessageBoxReporter boxes;
    AppHarness h(true, {}, &boxes);
    h.Start().Dispatch(ids::kPreview);
    auto* preview = h.app->window().findChild<PreviewWindow*>();
    QVERIFY(QTest::qWaitForWindowActive(preview));
    h.config->set_title(0, 2, "ABC");
    h.config->char_colour[0][4] = h.config->border_colour[0][4] = kColourBlank;
    QStringList seen;  // each box's caption and text, and whether it was active and above all
    QTimer look;
    int waited = 0;  // activation comes a moment after a box shows
    connect(&look, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || (QApplication::activeWindow() != box && ++waited < 100)) return;
      seen << box->windowTitle() + ":" + box->text() +
                  (QApplication::activeWindow() == box ? " active" : "") +
                  (box->windowFlags().testFlag(Qt::WindowStaysOnTopHint) ? " above" : "");
      box->button(QMessageBox::Ok)->click();
    });
    look.start(20);
    const std::uint64_t mark = LastEntry(h.app->traffic());
    Press(preview->editor(), ids::kEditorSend);
    // Colours and title passed over; blink, fill, level and time sent and answered.
    QTRY_VERIFY_WITH_TIMEOUT(!preview->editor().run()->running(), 30000);
    QTRY_COMPARE(AnswersSince(h.app->traffic(), mark), 4);
    QCoreApplication::processEvents();
    QCOMPARE(seen, QStringList{QStringLiteral(
                       "Error:Page 1 の次のものは送信していません:\nタイトル（7行とも）:\n  3行目: "
                       "半角文字を含む行は送れません\n文字色・縁取り色（7行とも）:\n  5行目: "
                       "文字色と縁取り色がともにブランクの行は送れません（Miss! Can't Set） active "
                       "above")});
  }
};

QRV_REGISTER_QT_TEST(PageEditorTest);

}  // namespace qrv

#include "page_editor_test.moc"
