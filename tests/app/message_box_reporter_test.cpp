#include "message_box_reporter.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>

#include "qt_prompts.h"
#include "qt_test_registry.h"
#include "response_box_owner.h"

namespace qrv {
namespace {

struct SeenBox {
  QString caption, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QWidget* owner = nullptr;
  QStringList buttons;
  bool text_fits = false;  // the whole text shows, not cut at the box's edge
};

// Shows a box through show, looks at it from inside its own event loop and presses the
// button named press.
SeenBox Look(const std::function<void()>& show,
             QMessageBox::StandardButton press = QMessageBox::Ok) {
  SeenBox seen;
  QTimer::singleShot(0, [&] {
    QMessageBox* box = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->isVisible() && qobject_cast<QMessageBox*>(w)) box = qobject_cast<QMessageBox*>(w);
    }
    if (box == nullptr) return;
    seen = {box->windowTitle(), box->text(), box->icon(), box->parentWidget(), {}};
    for (QAbstractButton* button : box->buttons()) seen.buttons << button->text().remove('&');
    const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    seen.text_fits = label->width() >= label->fontMetrics().horizontalAdvance(box->text());
    box->button(press)->click();
  });
  show();
  return seen;
}

}  // namespace

class MessageBoxReporterTest : public QObject {
  Q_OBJECT

 private slots:
  void boxesLookAsTheOperatorExpects() {
    MessageBoxReporter boxes;
    SeenBox e = Look([&] { boxes.ErrorBox("No Connect"); });
    QCOMPARE(
        std::make_tuple(e.caption, e.text, e.icon, e.owner, e.buttons),
        std::make_tuple(QStringLiteral("Error"), QStringLiteral("No Connect"),
                        QMessageBox::Critical, static_cast<QWidget*>(nullptr), QStringList{"OK"}));
    SeenBox w = Look([&] { boxes.WarningBox("ＪＩＳ第１水準,第２水準以外の字が選択されてます"); });
    QCOMPARE(w.icon, QMessageBox::Warning);
    QVERIFY(w.text_fits);

    // The completion boxes belong to the dialog opened last while it exists.
    auto owner = std::make_unique<QWidget>();
    owner->show();
    RecordResponseBoxOwner(owner.get());
    SeenBox set = Look([&] { boxes.SetCompleteBox(); });
    QCOMPARE(set.caption, QStringLiteral("設定完了"));
    QCOMPARE(set.owner, owner.get());
    QVERIFY(set.text_fits);
    owner.reset();
    QCOMPARE(Look([&] { boxes.ReadCompleteBox(); }).owner, nullptr);
  }

  // A question takes Yes or No only: Esc and the close box leave it open.
  void questionsAnswerOnlyToYesOrNo() {
    QtPrompts prompts;
    bool open_after = false;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QTest::keyClick(box, Qt::Key_Escape);
      box->close();
      open_after = box->isVisible();
      box->button(QMessageBox::Yes)->click();
    });
    QVERIFY(prompts.AskYesNo(QStringLiteral("データを保存せずに終了しますか？")) && open_after);
  }
};

QRV_REGISTER_QT_TEST(MessageBoxReporterTest);

}  // namespace qrv

#include "message_box_reporter_test.moc"
