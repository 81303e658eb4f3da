#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <functional>
#include <memory>

#include "blink_dialog.h"
#include "char_colour_dialog.h"
#include "char_level_dialog.h"
#include "dialog_fixture.h"
#include "display_on_off_dialog.h"
#include "display_page_dialog.h"
#include "display_position_dialog.h"
#include "display_time_dialog.h"
#include "fill_bordering_dialog.h"
#include "qt_test_registry.h"
#include "varied_config.h"

namespace qrv {
namespace {

using Open = std::function<std::unique_ptr<SettingDialog>(DialogContext&)>;
using Frames = std::vector<std::string>;

template <typename Dialog>
Open Make() {
  return [](DialogContext& context) { return std::make_unique<Dialog>(context, nullptr); };
}

QStringList Numbers(int first, int last, int digits = 1) {
  QStringList numbers;
  for (int n = first; n <= last; ++n) numbers << QString::number(n).rightJustified(digits, '0');
  return numbers;
}

QStringList Groups(const QWidget& dialog) {
  QStringList titles;
  for (auto* group : dialog.findChildren<QGroupBox*>()) titles << group->title();
  return titles;
}

std::string Frame(std::string text) {
  return text + "\r\n";
}

}  // namespace

class SettingDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void eachDialogShowsItsTemplateAndOpeningChangesNothing() {
    const QStringList colours = {"黒",       "赤",     "緑", "黄",      "青",
                                 "マゼンタ", "シアン", "白", "ブランク"};
    const QStringList groups = {"P 1～ 8", "P 9～P16", "P17～P24", "P25～P32"};
    struct Case {
      Open open;
      QString caption;
      int template_id;
      QStringList group_titles;
      std::vector<std::pair<int, QStringList>> lists;
      std::vector<std::pair<int, QString>> buttons;
    };
    const std::vector<Case> cases = {
        {Make<BlinkDialog>(),
         "点滅表示の設定",
         114,
         {"Blink display", "Page No.", "Slave No."},
         {{1101, Numbers(0, 4)},
          {1107, Numbers(0, 4)},
          {1046, Numbers(1, 32)},
          {1050, Numbers(0, 31, 2)}},
         {{1048, "設定"}, {1049, "全Page設定"}}},
        {Make<FillBorderingDialog>(),
         "文字背景色ベタ塗りの設定",
         108,
         {"Fill bordering", "Page No.", "Slave No."},
         {{1080, {"OFF", " ON"}}, {1086, {"OFF", " ON"}}},
         {{1048, "設定"}, {1049, "全Page設定"}}},
        {Make<CharColourDialog>(),
         "文字色の設定",
         113,
         {"Character color", "Bordering color", "Page No.", "Slave No."},
         {{1087, colours}, {1100, colours}},
         {{1048, "設定"}, {1049, "全Page設定"}}},
        {Make<DisplayTimeDialog>(),
         "表示時間の設定",
         111,
         {"Time(Second)", "Page change", "Slave No."},
         {{1050, Numbers(0, 99)},
          {1057, Numbers(0, 99)},
          {1066, groups},
          {1067, Numbers(0, 31, 2)}},
         {{1048, "設定"}}},
        {Make<CharLevelDialog>(),
         "文字レベルの設定",
         109,
         {"White level", "Page change", "Slave No."},
         {{1072, {" Low", "High"}}, {1079, {" Low", "High"}}, {1066, groups}},
         {{1048, "設定"}}},
        {Make<DisplayPositionDialog>(),
         "表示位置微調整",
         112,
         {"Horizontal", "Vertical", "Slave No."},
         {{1109, Numbers(0, 15)}, {1113, Numbers(0, 15)}},
         {{1111, "設定"}, {1115, "設定"}}},
        {Make<DisplayPageDialog>(),
         "表示ページの設定",
         158,
         {"Page No.", "Slave No."},
         {{1173, Numbers(1, 32, 2) << "Auto"}},
         {{1174, "設定"}}},
        {Make<DisplayOnOffDialog>(),
         "表示/非表示の設定",
         159,
         {"Display", "Slave No."},
         {{1175, {"OFF ", "ON  "}}},
         {{1176, "設定"}}},
    };
    for (const Case& c : cases) {
      DialogFixture f;
      f.config = VariedConfig();
      f.config.modified = 0;
      auto dialog = c.open(f.context);
      QCOMPARE(dialog->windowTitle(), c.caption);
      QCOMPARE(dialog->template_id(), c.template_id);
      QCOMPARE(Groups(*dialog), c.group_titles);
      for (const auto& [id, items] : c.lists) QCOMPARE(Items(List(*dialog, id)), items);
      for (const auto& [id, text] : c.buttons)
        QCOMPARE(Find<QPushButton>(*dialog, id)->text(), text);
      // Loading the lists from the configuration stores and sends nothing.
      QCOMPARE(f.config.modified, 0);
      QVERIFY(f.sent.empty());
      dialog->reject();
      QCOMPARE(dialog->result(), 2);
    }
  }

  void buttonsSendTheFramesOfTheChosenValues() {
    const std::string zeros(60, '0');
    auto times = [](const char* s, int n) { return Times(s, n); };
    struct Case {
      const char* name;
      Open open;
      std::function<void(QWidget&)> operate;
      Frames frames;
      int modified;
    };
    const std::vector<Case> cases = {
        {"blink page 1",
         Make<BlinkDialog>(),
         [](QWidget& d) {
           Choose(d, 1101, 1);
           Choose(d, 1107, 4);
           Press(d, 1048);
         },
         {Frame("P01BDLT1000004")},
         1},
        {"blink page 32",
         Make<BlinkDialog>(),
         [](QWidget& d) {
           Choose(d, 1046, 31);
           Press(d, 1048);
         },
         {Frame("P32BDLT0000000")},
         0},
        {"fill lines 1 and 3",
         Make<FillBorderingDialog>(),
         [](QWidget& d) {
           Choose(d, 1080, 1);
           Choose(d, 1082, 1);
           Press(d, 1048);
         },
         {Frame("P01FBLT05")},
         1},
        {"fill page 10, then line 4 off",
         Make<FillBorderingDialog>(),
         [](QWidget& d) {
           Choose(d, 1046, 9);
           for (int id = 1080; id <= 1086; ++id) Choose(d, id, 1);
           Press(d, 1048);
           Choose(d, 1083, 0);
           Press(d, 1048);
         },
         {Frame("P10FBLT7F"), Frame("P10FBLT77")},
         1},
        {"fill all pages, none on",
         Make<FillBorderingDialog>(),
         [](QWidget& d) { Press(d, 1049); },
         {Frame("PTFB" + std::string(64, '0'))},
         0},
        {"fill all pages, page 2 line 5",
         Make<FillBorderingDialog>(),
         [](QWidget& d) {
           Choose(d, 1046, 1);
           Choose(d, 1084, 1);
           Press(d, 1049);
         },
         {Frame("PTFB0010" + zeros)},
         1},
        {"display page",
         Make<DisplayPageDialog>(),
         [](QWidget& d) {
           Choose(d, 1173, 6);
           Press(d, 1174);
           Choose(d, 1173, 32);
           Press(d, 1174);
         },
         {Frame("P07"), Frame("PAS")},
         0},
        {"display on/off",
         Make<DisplayOnOffDialog>(),
         [](QWidget& d) {
           Choose(d, 1175, 1);
           Press(d, 1176);
           Choose(d, 1175, 0);
           Press(d, 1176);
         },
         {Frame("IDON"), Frame("IDOF")},
         0},
        {"colour, then blank characters with red bordering",
         Make<CharColourDialog>(),
         [](QWidget& d) {
           Press(d, 1048);
           Choose(d, 1087, 8);
           Choose(d, 1094, 1);
           Press(d, 1048);
         },
         {Frame("P01ICLT70707070707070"), Frame("P01ICLT81707070707070")},
         1},
        {"time, then pages 17 and 20 of the third group",
         Make<DisplayTimeDialog>(),
         [](QWidget& d) {
           Press(d, 1048);
           Choose(d, 1066, 2);
           Choose(d, 1050, 0);
           Choose(d, 1053, 99);
           Press(d, 1048);
         },
         {Frame("PTCT" + times("02", 32)),
          Frame("PTCT" + times("02", 16) + "00" + times("02", 2) + "99" + times("02", 12))},
         1},
        {"level, then page 1 low",
         Make<CharLevelDialog>(),
         [](QWidget& d) {
           Press(d, 1048);
           Choose(d, 1072, 0);
           Press(d, 1048);
         },
         {Frame("PTWL" + times("H", 32)), Frame("PTWLL" + times("H", 31))},
         1},
        {"position",
         Make<DisplayPositionDialog>(),
         [](QWidget& d) {
           Press(d, 1111);
           Press(d, 1115);
           Choose(d, 1109, 15);
           Press(d, 1111);
         },
         {Frame("PH08"), Frame("PV08"), Frame("PH15")},
         1},
    };
    for (const Case& c : cases) {
      DialogFixture f;
      auto dialog = c.open(f.context);
      c.operate(*dialog);
      QVERIFY2(f.sent == c.frames, c.name);
      QVERIFY2(f.config.modified == c.modified, c.name);
      QVERIFY2(f.reporter.shown.empty(), c.name);
    }
  }

  void storedValuesOutOfRangeShowNothing() {
    DialogFixture f;
    f.config.blink[0][0] = 5;
    f.config.char_colour[0][1] = 9;
    f.config.border_colour[0][2] = -1;
    f.config.display_time[0] = 100;
    f.config.char_level[0] = 2;
    f.config.position_h = 16;
    f.config.display_on = 2;
    f.choices.PageGroup = 4;
    QCOMPARE(List(BlinkDialog(f.context, nullptr), 1101)->currentIndex(), -1);
    CharColourDialog colour(f.context, nullptr);
    QCOMPARE(List(colour, 1088)->currentIndex(), -1);
    QCOMPARE(List(colour, 1096)->currentIndex(), -1);
    QCOMPARE(List(colour, 1087)->currentIndex(), 7);
    // A page group out of range shows nothing chosen and the first eight pages.
    DisplayTimeDialog time(f.context, nullptr);
    QCOMPARE(List(time, 1066)->currentIndex(), -1);
    QCOMPARE(List(time, 1050)->currentIndex(), -1);
    QCOMPARE(Find<QLineEdit>(time, 1058)->text(), QStringLiteral("1"));
    QCOMPARE(List(CharLevelDialog(f.context, nullptr), 1072)->currentIndex(), -1);
    QCOMPARE(List(DisplayPositionDialog(f.context, nullptr), 1109)->currentIndex(), -1);
    QCOMPARE(List(DisplayOnOffDialog(f.context, nullptr), 1175)->currentIndex(), -1);
    QCOMPARE(f.config.modified, 0);
  }

  void slaveNumberPageGroupAndPageAreShared() {
    DialogFixture f;
    {
      // RS-232C: disabled and empty; SlaveNumber is kept.
      f.choices.SlaveNumber = 7;
      BlinkDialog blink(f.context, nullptr);
      QVERIFY(!List(blink, 1050)->isEnabled());
      QCOMPARE(List(blink, 1050)->currentIndex(), -1);
      QCOMPARE(List(blink, 1050)->currentText(), QString());
    }
    f.settings.com_control = 1;
    {
      DisplayTimeDialog time(f.context, nullptr);
      QComboBox* slave = List(time, 1067);
      QVERIFY(slave->isEnabled() && slave->isEditable());
      QCOMPARE(slave->currentIndex(), 7);
      Choose(time, 1067, 12);
      // Typed text and Enter choose nothing.
      slave->lineEdit()->setText(QStringLiteral("03"));
      QTest::keyClick(slave->lineEdit(), Qt::Key_Return);
      QCOMPARE(slave->count(), 32);
      // The page group chosen here is the one the level dialog opens on.
      Choose(time, 1066, 1);
      QCOMPARE(Find<QLineEdit>(time, 1058)->text(), QStringLiteral("9"));
      QCOMPARE(Find<QLineEdit>(time, 1065)->text(), QStringLiteral("16"));
    }
    QCOMPARE(f.choices.SlaveNumber, 12);
    QCOMPARE(f.choices.PageGroup, 1);
    f.config.char_level[9] = 0;
    {
      CharLevelDialog level(f.context, nullptr);
      QCOMPARE(List(level, 1050)->currentIndex(), 12);
      QCOMPARE(List(level, 1066)->currentIndex(), 1);
      QCOMPARE(List(level, 1073)->currentIndex(), 0);  // page 10
      QCOMPARE(Find<QLineEdit>(level, 1059)->text(), QStringLiteral("10"));
    }
    {
      // The page chosen in one dialog is the page the next opens on; neither the page, the
      // page group nor the Slave No. counts as a change.
      BlinkDialog blink(f.context, nullptr);
      f.config.char_colour[4][6] = 3;
      Choose(blink, 1046, 4);
      QCOMPARE(f.config.current_page, 4);
      CharColourDialog colour(f.context, nullptr);
      QCOMPARE(List(colour, 1046)->currentIndex(), 4);
      QCOMPARE(List(colour, 1093)->currentIndex(), 3);
    }
    QCOMPARE(f.config.modified, 0);
  }

  void autoIsKeptUntilAPageIsChosen() {
    DialogFixture f;
    f.config.blink[0][0] = 2;
    {
      DisplayPageDialog page(f.context, nullptr);
      Choose(page, 1173, 32);
    }
    QCOMPARE(f.config.current_page, 32);
    QCOMPARE(f.config.display_page_auto, 1);
    QCOMPARE(List(DisplayPageDialog(f.context, nullptr), 1173)->currentText(),
             QStringLiteral("Auto"));
    {
      // Shows, edits and sends page 1 and leaves "Auto" alone.
      BlinkDialog blink(f.context, nullptr);
      QCOMPARE(List(blink, 1046)->currentText(), QStringLiteral("1"));
      QCOMPARE(List(blink, 1101)->currentIndex(), 2);
      Choose(blink, 1102, 3);
      Press(blink, 1048);
      QCOMPARE(f.config.blink[0][1], 3);
      QCOMPARE(f.config.current_page, 32);
      FillBorderingDialog fill(f.context, nullptr);
      Press(fill, 1048);
      // Choosing a page ends it: page 5 is then shown by the display page dialog, which
      // still sends "PAS" until a page is chosen there.
      Choose(fill, 1046, 4);
    }
    DisplayPageDialog page(f.context, nullptr);
    QCOMPARE(List(page, 1173)->currentText(), QStringLiteral("05"));
    Press(page, 1174);
    QCOMPARE(f.sent, (Frames{Frame("P01BDLT2300000"), Frame("P01FBLT00"), Frame("PAS")}));
  }

  void colourPageWithABlankLineIsRefused() {
    DialogFixture f;
    f.config.char_colour[0][2] = 8;
    f.config.border_colour[0][2] = 8;
    CharColourDialog colour(f.context, nullptr);
    Press(colour, 1048);
    QVERIFY(f.sent.empty());
    QCOMPARE(f.reporter.shown, std::vector<std::string>{"warning:Miss! Can't Set"});
  }

  void enterPressesOnlyTheFocusedButton() {
    DialogFixture f;
    BlinkDialog blink(f.context, nullptr);
    blink.show();
    QVERIFY(QTest::qWaitForWindowExposed(&blink));
    List(blink, 1101)->setFocus();
    QTest::keyClick(List(blink, 1101), Qt::Key_Return);
    QVERIFY(f.sent.empty());
    Find<QPushButton>(blink, 1048)->setFocus();
    QTest::keyClick(Find<QPushButton>(blink, 1048), Qt::Key_Return);
    QCOMPARE(f.sent, Frames{Frame("P01BDLT0000000")});
  }
};

QRV_REGISTER_QT_TEST(SettingDialogsTest);

}  // namespace qrv

#include "setting_dialogs_test.moc"
