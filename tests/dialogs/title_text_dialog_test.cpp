#include "title_text_dialog.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>

#include "dialog_fixture.h"
#include "qt_test_registry.h"
#include "title_line_edit.h"
#include "varied_config.h"

namespace qrv {
namespace {

using Frames = std::vector<std::string>;

// Line 1..7 of the dialog.
TitleLineEdit* Line(const QWidget& dialog, int line) {
  return Find<TitleLineEdit>(dialog, 1038 + line);
}

// What an input method hands to the edit when the operator confirms the text.
void Commit(QLineEdit* edit, const QString& text) {
  QInputMethodEvent event;
  event.setCommitString(text);
  QCoreApplication::sendEvent(edit, &event);
}

// A title frame: its head ("CA01"), the given codes, then 2121 up to 98 codes.
std::string TitleFrame(const std::string& head, const std::string& codes) {
  return head + codes + Times("2121", 98 - static_cast<int>(codes.size()) / 4) + "\r\n";
}

QString Notice(const QWidget& dialog) {
  return dialog.findChild<QLabel*>(QStringLiteral("inputNotice"))->text();
}

}  // namespace

class TitleTextDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void eachButtonSendsThePageAsTyped() {
    const QString kanji14 = QString(14, QChar(0x65E5));  // 日 x 14
    struct Case {
      int page;  // index
      int line;  // 1..7
      QString typed;
      int button;
      std::string frame;
    };
    const std::vector<Case> cases = {
        {0, 1, QString(), 1048, TitleFrame("CA01", "")},
        {0, 1, QStringLiteral("ＡＢ"), 1048, TitleFrame("CA01", "23412342")},
        {11, 1, QString(), 1047, TitleFrame("CN12", "")},
        // A whole line takes no padding; the JIS forms of the wave dash and the minus sign
        // are the board's ～ and －.
        {31, 3, kanji14, 1048, TitleFrame("CA32", Times("2121", 28) + Times("467C", 14))},
        {4, 7, QStringLiteral("\u301C\u2212①"), 1047,
         TitleFrame("CN05", Times("2121", 84) + "2141215D2D21")},
    };
    for (const Case& c : cases) {
      DialogFixture f;
      f.config.current_page = c.page;
      TitleTextDialog dialog(f.context, nullptr);
      if (!c.typed.isEmpty()) Commit(Line(dialog, c.line), c.typed);
      Press(dialog, c.button);
      QCOMPARE(f.sent.size(), std::size_t{1});
      QCOMPARE(QString::fromStdString(f.sent[0]), QString::fromStdString(c.frame));
      QVERIFY(f.reporter.shown.empty());
      QCOMPARE(f.config.modified, c.typed.isEmpty() ? 0 : 1);
    }
  }

  void refusedPagesWarnSendNothingAndKeepTheText() {
    const std::string warning = "warning:ＪＩＳ第１水準,第２水準以外の字が選択されてます";
    // Half-width text with an odd and with an even byte count, and a 29-byte line from a file.
    const std::vector<std::string> lines = {
        "\x82\xa0"
        "A",
        "AB", Times("\x82\xa0", 14) + "A"};
    for (const std::string& text : lines) {
      DialogFixture f;
      f.config.set_title(0, 2, text);
      TitleTextDialog dialog(f.context, nullptr);
      Press(dialog, 1048);
      Press(dialog, 1047);
      QVERIFY(f.sent.empty());
      QCOMPARE(f.reporter.shown, (std::vector<std::string>{warning, warning}));
      QCOMPARE(std::string(f.config.title(0, 2)), text);
    }
  }

  void linesTakeOnlyWhatTheBoardsCodePageHoldsWithinTwentyEightBytes() {
    DialogFixture f;
    TitleTextDialog dialog(f.context, nullptr);
    TitleLineEdit* line = Line(dialog, 2);
    QCOMPARE(line->font().styleHint(), QFont::Monospace);
    // Wide enough for 14 full-width characters.
    QVERIFY(line->contentsRect().width() >=
            line->fontMetrics().horizontalAdvance(QString(14, QChar(0x6F22))));

    // 13 full-width characters and two half-width ones fill the 28 bytes; one more is refused
    // and the line stays as it was.
    Commit(line, QString(13, QChar(0x3042)));
    QTest::keyClicks(line, "AB");
    QCOMPARE(f.config.title(0, 1), Times("\x82\xa0", 13) + "AB");
    QVERIFY(Notice(dialog).isEmpty());
    QTest::keyClick(line, Qt::Key_C);
    QCOMPARE(line->text(), QString(13, QChar(0x3042)) + "AB");
    QCOMPARE(Notice(dialog), QStringLiteral("1行は28バイト（全角14文字）までです"));
    // At 27 bytes a full-width character does not fit, a half-width one does.
    QTest::keyClick(line, Qt::Key_Backspace);
    Commit(line, QStringLiteral("あ"));
    QCOMPARE(f.config.title(0, 1), Times("\x82\xa0", 13) + "A");
    QTest::keyClicks(line, "Z");
    QCOMPARE(line->text(), QString(13, QChar(0x3042)) + "AZ");
    QCOMPARE(f.config.title(0, 1), Times("\x82\xa0", 13) + "AZ");

    // Characters code page 932 lacks are never stored, not even as '?'.
    TitleLineEdit* other = Line(dialog, 5);
    Commit(other, QStringLiteral("駅"));
    other->setCursorPosition(0);
    Commit(other, QStringLiteral("€😀"));
    QCOMPARE(other->text(), QStringLiteral("駅"));
    QCOMPARE(other->cursorPosition(), 0);
    QCOMPARE(Notice(dialog),
             QStringLiteral("「€😀」は使えない文字です（コードページ932にありません）"));
    QCOMPARE(f.config.title(0, 4), std::string("\x89\x77"));
  }

  void linesFromAFileKeepTheirBytesUntilChanged() {
    DialogFixture f;
    // The IBM form of Ⅰ, which reads as the same character as its NEC form; and a line
    // too long for the board.
    f.config.set_title(2, 0, "\xfa\x4a");
    f.config.set_title(2, 1, Times("\x82\xa0", 14) + "A");
    f.config.current_page = 2;
    TitleTextDialog dialog(f.context, nullptr);
    QCOMPARE(Line(dialog, 1)->text(), QStringLiteral("Ⅰ"));
    QCOMPARE(Line(dialog, 2)->text(), QString(14, QChar(0x3042)) + "A");
    // Touching another line stores every line of the page, each as it stands.
    Commit(Line(dialog, 3), QStringLiteral("案内"));
    QCOMPARE(f.config.title(2, 0), std::string("\xfa\x4a"));
    QCOMPARE(f.config.title(2, 1), Times("\x82\xa0", 14) + "A");
    // The long line can be cut down but not lengthened.
    QTest::keyClick(Line(dialog, 2), Qt::Key_B);
    QCOMPARE(f.config.title(2, 1), Times("\x82\xa0", 14) + "A");
    QTest::keyClick(Line(dialog, 2), Qt::Key_Backspace);
    QCOMPARE(f.config.title(2, 1), Times("\x82\xa0", 14));
  }

  void onlyTheOperatorsTouchStoresAndMarks() {
    DialogFixture f;
    f.config = VariedConfig();
    f.config.current_page = 0;
    TitleTextDialog dialog(f.context, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    // Opening filled the lines and focused the page list: nothing stored, nothing marked.
    QCOMPARE(Line(dialog, 1)->text(), QStringLiteral("日本"));
    QCOMPARE(QApplication::focusWidget(), List(dialog, 1046));
    QCOMPARE(f.config.modified, 0);

    // The program refilling the lines for another page is no touch either.
    Choose(dialog, 1046, 13);
    QCOMPARE(Line(dialog, 3)->text(), QStringLiteral("\u3000あ\u3000い"));
    QCOMPARE(f.config.current_page, 13);
    QCOMPARE(f.config.modified, 0);

    // A click into a line, without typing, is.
    QTest::mouseClick(Line(dialog, 6), Qt::LeftButton);
    QCOMPARE(f.config.modified, 1);
    QCOMPARE(f.config.title(13, 2), std::string("\x81\x40\x82\xa0\x81\x40\x82\xa2"));

    // Text typed and then a page chosen: the page left keeps it, the new page is shown.
    Line(dialog, 6)->insert(QStringLiteral("新"));
    Choose(dialog, 1046, 20);
    QVERIFY(Line(dialog, 6)->text().isEmpty());
    Choose(dialog, 1046, 13);
    QCOMPARE(Line(dialog, 6)->text(), QStringLiteral("新"));
    QCOMPARE(f.config.title(13, 5), std::string("\x90\x56"));
  }

  void autoShowsAndEditsPageOne() {
    DialogFixture f;
    f.config.set_title(0, 0, "\x82\x60");
    f.config.current_page = kAutoPage;
    TitleTextDialog dialog(f.context, nullptr);
    QCOMPARE(List(dialog, 1046)->currentIndex(), 0);
    QCOMPARE(Line(dialog, 1)->text(), QStringLiteral("Ａ"));
    Commit(Line(dialog, 2), QStringLiteral("Ｂ"));
    Press(dialog, 1048);
    QCOMPARE(f.sent, Frames{TitleFrame("CA01", "2341" + Times("2121", 13) + "2342")});
    QCOMPARE(f.config.current_page, kAutoPage);
  }

  void allPagesRunSendsEachPageInItsTurn() {
    DialogFixture f;
    f.config.set_title(2, 0, "A");  // page 3 cannot be sent
    TitleTextDialog dialog(f.context, nullptr);
    TimedRun* run = dialog.run();
    QCOMPARE(run->plan().timer_id, 2);
    QCOMPARE(run->plan().period_ms, 500);
    auto* counter = Find<QLineEdit>(dialog, 1037);
    auto* bar = Find<QProgressBar>(dialog, 1164);
    QCOMPARE(bar->maximum(), 32);
    QVERIFY(counter->alignment() & Qt::AlignLeft);

    Press(dialog, 1049);
    QVERIFY(f.sent.empty());
    run->Tick();
    run->Tick();
    // While the run goes, "設定" and "Not memory" store the lines and send nothing.
    Commit(Line(dialog, 1), QStringLiteral("Ｚ"));
    Press(dialog, 1048);
    Press(dialog, 1047);
    QCOMPARE(f.sent.size(), std::size_t{2});
    QCOMPARE(f.config.title(0, 0), std::string("\x82\x79"));
    // Page 3's box shows once its tick has returned, and the run goes on.
    run->Tick();
    QCOMPARE(counter->text(), QStringLiteral("3"));
    QVERIFY(f.reporter.shown.empty());
    QTRY_COMPARE(f.reporter.shown.size(), std::size_t{1});
    for (int i = 3; i < 32; ++i) run->Tick();
    QCOMPARE(f.sent.size(), std::size_t{31});
    QCOMPARE(f.sent[0], TitleFrame("CA01", ""));
    QCOMPARE(f.sent[2], TitleFrame("CA04", ""));
    QCOMPARE(f.sent[30], TitleFrame("CA32", ""));
    QCOMPARE(counter->text(), QStringLiteral("  "));
    QCOMPARE(bar->value(), 0);
    QCOMPARE(f.link.BatchStep, 0);

    // Closed during a run: the run ends, and the next dialog sends at once.
    Press(dialog, 1049);
    run->Tick();
    dialog.reject();
    QCOMPARE(std::vector<int>({f.link.BatchRunning, f.link.BatchStep, f.link.AnswerPending}),
             std::vector<int>({0, 0, 0}));
    TitleTextDialog again(f.context, nullptr);
    Press(again, 1048);
    QCOMPARE(f.sent.back(), TitleFrame("CA01", "235A"));
  }
};

QRV_REGISTER_QT_TEST(TitleTextDialogTest);

}  // namespace qrv

#include "title_text_dialog_test.moc"
